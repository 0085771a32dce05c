// orvik-editor [BASE]: the item placement editor.
#include "app/EditorApp.h"

int main(int argc, char** argv)
{
    orvik::CEditorApp app(argc, argv);
    return app.InitInstance();
}
