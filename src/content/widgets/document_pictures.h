#pragma once
// The pictures embedded in one QTextDocument. Each picture is one object character (U+FFFC) whose
// character format carries the object type kPictureObjectType, the user tag kPictureObjectTag and
// the id under which this registry keeps the picture. The registry is a child of its document; it
// draws the pictures (as the layout's handler of the object type), repaints the area of an
// animated picture on each new frame, and lets go of pictures whose character has left the
// document: their animation stops at once, their bytes go when undo can no longer bring them back.
//
// It follows where each picture's character lies from the document's change reports, so a change
// costs the length of the changed range plus the pictures after it, never a walk of the whole
// document: appending at the end of a long chat box touches no picture above the new text.
#include <QObject>
#include <QRectF>
#include <QSet>
#include <QTextFormat>
#include <QTextObjectInterface>
#include <memory>
#include <unordered_map>
#include <vector>

#include "content/object_tag.h"
#include "content/widgets/picture_object.h"

class QTextCursor;
class QTextDocument;

namespace chat {

inline constexpr int kPictureObjectType = QTextFormat::UserObject + 1;
// Character format properties of an embedded object: its 32-bit user tag, and the picture's id.
inline constexpr int kUserTagProperty = QTextFormat::UserProperty + 1;
inline constexpr int kPictureIdProperty = QTextFormat::UserProperty + 2;

// One object character of a document, in document order.
struct EmbeddedObject {
    int position;
    uint32_t userTag;        // 0 for objects that carry no tag
    PictureObject* picture;  // null for objects that are not our pictures
};

class DocumentPictures : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

  public:
    // The registry of the document, made on first use.
    static DocumentPictures& of(QTextDocument& document);
    // Null when nothing was ever embedded in the document.
    static DocumentPictures* find(const QTextDocument& document);

    // Puts the picture at the cursor (replacing its selection) as one object character; the
    // cursor ends after it, and text typed there does not take the picture's format.
    void insert(QTextCursor& cursor, std::unique_ptr<PictureObject> picture);

    // The picture whose object character is at the position, or null.
    PictureObject* pictureAt(int position) const;
    // The picture that an object character of this format shows, or null.
    PictureObject* pictureFor(const QTextFormat& format) const;
    // The line area of the object character at the position, in document coordinates.
    QRectF objectRect(int position) const;

    // Pictures held: those in the document and those kept for undo.
    size_t pictureCount() const { return pictures_.size(); }
    // Stops the animations of pictures that have left the document and frees those that undo and
    // redo cannot bring back. Runs by itself after each change that removes a picture.
    void collectRemoved();

    QSizeF intrinsicSize(QTextDocument* document, int positionInDocument,
                         const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document,
                    int positionInDocument, const QTextFormat& format) override;

  private:
    struct Entry {
        std::unique_ptr<PictureObject> picture;
        QSet<int> drawnAt;   // positions at which the animation was last drawn
        int placements = 0;  // object characters in the document that show it
    };
    // One object character of a registered picture (a picture may be shown more than once).
    struct Placement {
        int position;
        int id;
    };

    explicit DocumentPictures(QTextDocument& document);
    Entry* entryFor(const QTextFormat& format);
    void registerWithLayout();
    // [position, position + removed) was replaced by [position, position + added).
    void followChange(int position, int removed, int added);
    // The placements of registered pictures in [from, to), in document order.
    std::vector<Placement> placementsIn(int from, int to) const;
    void scheduleCollect();
    void repaintFrame(int id);

    QTextDocument& document_;
    std::unordered_map<int, Entry> pictures_;
    std::vector<Placement> placements_;  // by position
    bool collectPending_ = false;
};

// Every object character of the document (U+FFFC with an object format), pictures or not.
std::vector<EmbeddedObject> embeddedObjects(const QTextDocument& document);

}  // namespace chat
