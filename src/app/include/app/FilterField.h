#pragma once
// The filter box above the item table. Escape empties it and Enter goes back to the table; neither
// reaches the dialog (which would close).
#include <QLineEdit>

namespace orvik {

class FilterField : public QLineEdit {
    Q_OBJECT
public:
    explicit FilterField(QWidget* parent = nullptr);

signals:
    void done();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace orvik
