// y4editor: the editor program. "y4editor [MODEL]" opens MODEL at the start.
#include "shell/CY4EditorApp.h"

int main(int argc, char** argv) {
    y4::CY4EditorApp app(argc, argv);
#ifdef Y4_SAMPLES_DIR
    app.setSamplesFolder(Y4_SAMPLES_DIR);
#endif
    return app.InitInstance();
}
