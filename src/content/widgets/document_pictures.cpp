#include "content/widgets/document_pictures.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace chat {

namespace {

// Ids are unique in the process, so a picture format copied into another document never finds a
// stranger's picture there. They are ints because the document hashes int properties of formats
// (a 64-bit property hashes to 0, and every new picture would compare with all formats before).
int nextPictureId = 1;

int pictureIdOf(const QTextFormat& format) {
    if (format.objectType() != kPictureObjectType) {
        return 0;
    }
    return format.intProperty(kPictureIdProperty);
}

QTextCharFormat formatAt(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(position)) {
            return fragment.charFormat();
        }
    }
    return {};
}

QTextCharFormat withoutPicture(QTextCharFormat format) {
    format.clearProperty(QTextFormat::ObjectType);
    format.clearProperty(kUserTagProperty);
    format.clearProperty(kPictureIdProperty);
    return format;
}

}  // namespace

DocumentPictures& DocumentPictures::of(QTextDocument& document) {
    if (DocumentPictures* existing = find(document)) {
        return *existing;
    }
    return *new DocumentPictures(document);
}

DocumentPictures* DocumentPictures::find(const QTextDocument& document) {
    return document.findChild<DocumentPictures*>(QString(), Qt::FindDirectChildrenOnly);
}

DocumentPictures::DocumentPictures(QTextDocument& document)
    : QObject(&document), document_(document) {
    registerWithLayout();
    connect(&document, &QTextDocument::documentLayoutChanged, this,
            &DocumentPictures::registerWithLayout);
    connect(&document, &QTextDocument::contentsChange, this, &DocumentPictures::followChange);
    // Pictures kept for undo can go once the undo and redo stacks are empty.
    const auto onStackChange = [this](bool available) {
        if (!available) {
            scheduleCollect();
        }
    };
    connect(&document, &QTextDocument::undoAvailable, this, onStackChange);
    connect(&document, &QTextDocument::redoAvailable, this, onStackChange);
}

void DocumentPictures::registerWithLayout() {
    document_.documentLayout()->registerHandler(kPictureObjectType, this);
}

void DocumentPictures::insert(QTextCursor& cursor, std::unique_ptr<PictureObject> picture) {
    const int id = nextPictureId++;
    connect(picture.get(), &PictureObject::frameChanged, this, [this, id] { repaintFrame(id); });
    pictures_.emplace(id, Entry{std::move(picture), {}, 0});

    const QTextCharFormat previous = withoutPicture(cursor.charFormat());
    QTextCharFormat format = previous;
    format.setAnchor(false);
    format.clearProperty(QTextFormat::AnchorHref);
    format.setObjectType(kPictureObjectType);
    format.setProperty(kUserTagProperty, static_cast<int>(kPictureObjectTag));
    format.setProperty(kPictureIdProperty, id);
    format.setVerticalAlignment(QTextCharFormat::AlignBottom);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    cursor.setCharFormat(previous);
}

void DocumentPictures::followChange(int position, int removed, int added) {
    const auto byPosition = [](const Placement& placement, int at) {
        return placement.position < at;
    };
    const auto first =
        std::lower_bound(placements_.begin(), placements_.end(), position, byPosition);
    const auto last = std::lower_bound(first, placements_.end(), position + removed, byPosition);
    std::vector<int> touched;
    for (auto it = first; it != last; ++it) {
        --pictures_.at(it->id).placements;
        touched.push_back(it->id);
    }
    for (auto it = last; it != placements_.end(); ++it) {
        it->position += added - removed;
    }
    // A change of formats reports its range as removed and added again: the pictures in it are
    // found again below.
    const std::vector<Placement> found = placementsIn(position, position + added);
    for (const Placement& placement : found) {
        ++pictures_.at(placement.id).placements;
    }
    const auto kept = placements_.erase(first, last);
    placements_.insert(kept, found.begin(), found.end());
    if (std::any_of(touched.begin(), touched.end(),
                    [this](int id) { return pictures_.at(id).placements == 0; })) {
        scheduleCollect();
    }
}

std::vector<DocumentPictures::Placement> DocumentPictures::placementsIn(int from, int to) const {
    std::vector<Placement> found;
    for (QTextBlock block = document_.findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= to) {
                break;
            }
            const int id = pictureIdOf(fragment.charFormat());
            if (id == 0 || !pictures_.contains(id)) {
                continue;
            }
            const QString text = fragment.text();
            for (qsizetype i = 0; i < text.size(); ++i) {
                const int at = fragment.position() + static_cast<int>(i);
                if (at >= from && at < to && text[i] == QChar::ObjectReplacementCharacter) {
                    found.push_back({at, id});
                }
            }
        }
    }
    return found;
}

DocumentPictures::Entry* DocumentPictures::entryFor(const QTextFormat& format) {
    const auto found = pictures_.find(pictureIdOf(format));
    return found != pictures_.end() ? &found->second : nullptr;
}

PictureObject* DocumentPictures::pictureFor(const QTextFormat& format) const {
    const auto found = pictures_.find(pictureIdOf(format));
    return found != pictures_.end() ? found->second.picture.get() : nullptr;
}

PictureObject* DocumentPictures::pictureAt(int position) const {
    if (position < 0 || document_.characterAt(position) != QChar::ObjectReplacementCharacter) {
        return nullptr;
    }
    return pictureFor(formatAt(document_, position));
}

QRectF DocumentPictures::objectRect(int position) const {
    const QTextBlock block = document_.findBlock(position);
    if (!block.isValid() || block.layout() == nullptr) {
        return {};
    }
    const QRectF blockRect = document_.documentLayout()->blockBoundingRect(block);
    const int inBlock = position - block.position();
    const QTextLine line = block.layout()->lineForTextPosition(inBlock);
    if (!line.isValid()) {
        return {};
    }
    const qreal start = line.cursorToX(inBlock);
    const qreal end = line.cursorToX(inBlock + 1);
    return QRectF(blockRect.left() + std::min(start, end), blockRect.top() + line.y(),
                  std::abs(end - start), line.height());
}

QSizeF DocumentPictures::intrinsicSize(QTextDocument*, int, const QTextFormat& format) {
    const PictureObject* picture = pictureFor(format);
    return picture != nullptr ? QSizeF(picture->drawnSize()) : QSizeF();
}

void DocumentPictures::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*,
                                  int positionInDocument, const QTextFormat& format) {
    Entry* entry = entryFor(format);
    if (entry == nullptr) {
        return;
    }
    PictureObject& picture = *entry->picture;
    if (picture.isAnimated()) {
        entry->drawnAt.insert(positionInDocument);
        picture.startAnimation();
    }
    const QImage frame = picture.currentFrame();
    painter->save();
    if (frame.size() != rect.size().toSize()) {
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter->drawImage(rect, frame);
    painter->restore();
}

void DocumentPictures::repaintFrame(int id) {
    const auto found = pictures_.find(id);
    if (found == pictures_.end()) {
        return;
    }
    Entry& entry = found->second;
    // Positions go stale when text before them changes; a moved picture is drawn again, and so
    // recorded again, by the repaint that the change itself causes.
    entry.drawnAt.removeIf([this, id](int position) {
        return pictureIdOf(formatAt(document_, position)) != id ||
               document_.characterAt(position) != QChar::ObjectReplacementCharacter;
    });
    if (entry.drawnAt.isEmpty()) {
        entry.picture->stopAnimation();
        return;
    }
    QAbstractTextDocumentLayout* layout = document_.documentLayout();
    for (const int position : std::as_const(entry.drawnAt)) {
        emit layout->update(objectRect(position));
    }
}

void DocumentPictures::scheduleCollect() {
    if (collectPending_) {
        return;
    }
    collectPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            collectPending_ = false;
            collectRemoved();
        },
        Qt::QueuedConnection);
}

void DocumentPictures::collectRemoved() {
    const bool undoCanReturnThem = document_.isUndoAvailable() || document_.isRedoAvailable();
    for (auto it = pictures_.begin(); it != pictures_.end();) {
        if (it->second.placements > 0) {
            ++it;
            continue;
        }
        it->second.picture->stopAnimation();
        it->second.drawnAt.clear();
        it = undoCanReturnThem ? std::next(it) : pictures_.erase(it);
    }
}

std::vector<EmbeddedObject> embeddedObjects(const QTextDocument& document) {
    const DocumentPictures* pictures = DocumentPictures::find(document);
    std::vector<EmbeddedObject> objects;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.objectType() == QTextFormat::NoObject) {
                continue;  // text, even a typed U+FFFC
            }
            const QString text = fragment.text();
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] != QChar::ObjectReplacementCharacter) {
                    continue;
                }
                objects.push_back({fragment.position() + static_cast<int>(i),
                                   static_cast<uint32_t>(format.intProperty(kUserTagProperty)),
                                   pictures != nullptr ? pictures->pictureFor(format) : nullptr});
            }
        }
    }
    return objects;
}

}  // namespace chat
