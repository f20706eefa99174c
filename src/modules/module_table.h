#pragma once
// What distinguishes the three modules. Each module library is built with its own generated
// definition of moduleTable() (see CMakeLists.txt); everything else is the same code.

namespace chat::modules {

struct ModuleTable {
    const char* identifier;        // four ASCII letters of the interface record
    const char* description;       // UTF-8; stored in the record as GBK
    int iconBitmap;                // number of the icon strip resource
    int browserControl;            // identifier of the browser control in the dialog
    const char* initErrorCaption;  // caption of the creation error box in InitModuleInterface
    const char* showErrorCaption;  // caption of the creation error box in ShowDlg
    bool handsOverSpecialLink;     // the page hands "Morvex://360safe/" to the main client
    const char* builtInPage;       // shown when the start data names no page
};

const ModuleTable& moduleTable();

}  // namespace chat::modules
