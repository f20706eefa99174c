#include "ui/room/input/input_box_objects.h"

#include "content/widgets/document_pictures.h"

namespace chat {

std::vector<InputBoxObject> inputBoxObjects(const QTextDocument& document) {
    std::vector<InputBoxObject> objects;
    for (const EmbeddedObject& object : embeddedObjects(document)) {
        InputBoxObject described{object.position, static_cast<uint32_t>(object.userTag), {}, {}};
        if (object.picture != nullptr) {
            described.sourceFile = object.picture->sourceFileName();
            described.bytes = object.picture->pictureBytes();
        }
        objects.push_back(std::move(described));
    }
    return objects;
}

}  // namespace chat
