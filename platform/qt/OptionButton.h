#pragma once
// An option button that reports the user's choice and leaves selecting to the core: neither a
// click, an arrow key nor assistive technology's action changes its state by itself. It stays
// exclusive within its frame, so that keyboards and screen readers treat the frame's options
// as one group of radio buttons.

#include <QRadioButton>

namespace velmora::qt {

class OptionButton : public QRadioButton {
public:
    explicit OptionButton(const QString& caption, QWidget* parent);

protected:
    void nextCheckState() override {}
};

}  // namespace velmora::qt
