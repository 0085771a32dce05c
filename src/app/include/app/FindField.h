#pragma once
// The find field by the item table. Its keys are its own: Enter and F3 go to the next match,
// Shift+F3 to the previous, Escape closes it; none of them reaches the dialog.
#include <QLineEdit>

namespace orvik {

class FindField : public QLineEdit {
    Q_OBJECT
public:
    explicit FindField(QWidget* parent = nullptr);

signals:
    void findNext();
    void findPrevious();
    void closed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace orvik
