#pragma once
// The application object: runs the editor dialog modally, then the process ends.
#include <QApplication>

namespace orvik {

class CEditorApp : public QApplication {
    Q_OBJECT
public:
    CEditorApp(int& argc, char** argv);
    // Opens the editor on BASE from the command line, if given. Returns the process's exit status.
    int InitInstance();
};

} // namespace orvik
