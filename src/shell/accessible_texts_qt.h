#pragma once

// What a screen reader says of a control whose own text does not say it: an
// image button, a field or a list without a label of its own, a painted view.
// A control with a label (a button's text, a buddy label, its group's title)
// is named by it and needs nothing here. Each window names the rest in one
// table, so that what they are called is read, and changed, in one place.

#include <QString>
#include <QWidget>

#include <initializer_list>

namespace stirpex {

struct AccessibleText {
    QWidget* control = nullptr;
    QString name;        // empty where a label names the control and only the description is wanted
    QString description; // what the control does, where its name alone does not say it; may be empty
};

inline void SetAccessibleTexts(std::initializer_list<AccessibleText> texts) {
    for (const AccessibleText& text : texts) {
        if (!text.name.isEmpty()) {
            text.control->setAccessibleName(text.name);
        }
        if (!text.description.isEmpty()) {
            text.control->setAccessibleDescription(text.description);
        }
    }
}

} // namespace stirpex
