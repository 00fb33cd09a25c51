#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QString>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

// A control array of option buttons or check boxes, indexed by the numbers the
// form gives them (not necessarily 0..n-1). The buttons belong to their Qt parent;
// the array only finds them. onClick(index) runs when the user clicks one, or
// Click(index) does; setting a button's state from code raises nothing. Option
// buttons with the same parent exclude each other: put each group in its own Frame.
// Indices not added throw std::out_of_range.

namespace platform {

// A frame is a captioned group box holding controls.
using Frame = QGroupBox;

template <class Button> class ButtonArray {
public:
    ButtonArray() = default;
    ButtonArray(const ButtonArray&) = delete;
    ButtonArray& operator=(const ButtonArray&) = delete;

    std::function<void(int index)> onClick;

    Button& Add(int index, const QString& caption, QWidget* parent) {
        if (buttons_.contains(index)) {
            throw std::invalid_argument("control array index added twice: " +
                                        std::to_string(index));
        }
        auto* button = new Button(caption, parent);
        QObject::connect(button, &QAbstractButton::clicked, button, [this, index] {
            if (onClick) {
                onClick(index);
            }
        });
        buttons_.emplace(index, button);
        return *button;
    }

    Button& operator[](int index) const {
        const auto found = buttons_.find(index);
        if (found == buttons_.end()) {
            throw std::out_of_range("no control with index " + std::to_string(index));
        }
        return *found->second;
    }

    bool Contains(int index) const { return buttons_.contains(index); }
    std::size_t Size() const { return buttons_.size(); }

    std::vector<int> Indices() const {
        std::vector<int> indices;
        for (const auto& entry : buttons_) {
            indices.push_back(entry.first);
        }
        return indices;
    }

    bool Checked(int index) const { return (*this)[index].isChecked(); }
    void SetChecked(int index, bool checked) { (*this)[index].setChecked(checked); }

    // Clicks the button as the user would: a disabled one ignores it; a check box
    // toggles, an option button becomes the selected one; then onClick runs.
    void Click(int index) {
        Button& button = (*this)[index];
        if (!button.isEnabled()) {
            return;
        }
        if constexpr (std::is_same_v<Button, QRadioButton>) {
            button.setChecked(true);
        } else {
            button.setChecked(!button.isChecked());
        }
        if (onClick) {
            onClick(index);
        }
    }

private:
    std::map<int, Button*> buttons_;
};

using OptionButtons = ButtonArray<QRadioButton>;
using CheckBoxes = ButtonArray<QCheckBox>;

} // namespace platform
