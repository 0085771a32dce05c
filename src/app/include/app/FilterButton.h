#pragma once
// A filter switch of the "Show" group: looks like a radio button but marks nothing by itself and
// clears no other button; the dialog's handler alone flips its mark.
#include <QRadioButton>

namespace orvik {

class FilterButton : public QRadioButton {
public:
    FilterButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) { setAutoExclusive(false); }

protected:
    void nextCheckState() override {}
};

} // namespace orvik
