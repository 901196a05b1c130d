// y4editor: the editor program.
#include "shell/CY4EditorApp.h"

int main(int argc, char** argv) {
    y4::CY4EditorApp app(argc, argv);
    return app.InitInstance();
}
