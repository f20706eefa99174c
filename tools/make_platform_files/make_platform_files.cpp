// make-platform-files <program folder> --room-page <address> [--caption <text>]
//
// Writes the two enciphered platform files that the client reads beside its program file:
// "special.txt" (section "special", with the program caption when one is given) and
// "config/Morvex.txt" (section "MorvexModuleURL", key "customerurl" = the room selection page).
// Texts are given in UTF-8 and stored in GBK, as the platform stores them.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/config_cipher.h"
#include "util/text_codec.h"

namespace {

int usage() {
    std::cerr << "usage: make-platform-files <program folder> --room-page <address> "
                 "[--caption <text>]\n"
                 "example: make-platform-files ~/chat --room-page "
                 "file:///home/me/chat/server/demo/rooms.html\n";
    return 2;
}

bool writeEnciphered(const std::filesystem::path& path, const std::string& gbkText) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << chat::encodeConfigurationText(gbkText);
    file.close();
    if (!file) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    std::cout << "wrote " << path.string() << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::filesystem::path folder = argv[1];
    std::string roomPage;
    std::string caption;
    for (int i = 2; i < argc; i += 2) {
        const std::string option = argv[i];
        if (i + 1 >= argc)
            return usage();
        if (option == "--room-page") {
            roomPage = argv[i + 1];
        } else if (option == "--caption") {
            caption = argv[i + 1];
        } else {
            return usage();
        }
    }
    if (roomPage.empty())
        return usage();
    for (const std::string* text : {&roomPage, &caption}) {
        if (!chat::isValidUtf8(*text) || text->find_first_of("\r\n") != std::string::npos) {
            std::cerr << "texts must be one line of UTF-8\n";
            return 2;
        }
    }
    std::error_code error;
    std::filesystem::create_directories(folder / "config", error);
    if (error) {
        std::cerr << "cannot create " << (folder / "config") << ": " << error.message() << "\n";
        return 1;
    }
    std::string special = "[special]\r\n";
    if (!caption.empty())
        special += "ProgramCaption=" + chat::utf8ToGbk(caption) + "\r\n";
    const std::string morvex =
        "[MorvexModuleURL]\r\ncustomerurl=" + chat::utf8ToGbk(roomPage) + "\r\n";
    return writeEnciphered(folder / "special.txt", special) &&
                   writeEnciphered(folder / "config" / "Morvex.txt", morvex)
               ? 0
               : 1;
}
