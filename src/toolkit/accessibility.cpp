// What a screen reader is told of each control, through Qt's accessibility: names and
// descriptions for every widget, and the whole description of the widgets that Qt does not know
// (the toolkit draws labels, pictures, group boxes and windows itself) or takes for something
// else (a radio button whose exclusion the toolkit does is a check box to Qt).

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeySequence>

#include "accessibility_p.h"
#include "control_p.h"
#include "label_p.h"
#include "toolkit/button.h"
#include "toolkit/groupbox.h"
#include "toolkit/label.h"

namespace {

// The role a toolkit-described widget was made with.
const char* const roleProperty = "verbaroAccessibleRole";

// The window the control belongs to, or the top of its containers while it belongs to none.
Control& rootOf(Control& control) {
    Control* root = &control;
    while (root->parent()) {
        root = root->parent();
    }
    return *root;
}

std::vector<Control*> controlsCaptionedBy(Control& caption) {
    std::vector<Control*> captioned;
    for (Control* control : descendantsInAttachOrder(rootOf(caption))) {
        if (control->labelledBy() == &caption) {
            captioned.push_back(control);
        }
    }
    return captioned;
}

// What the control shows as its own text: none for a text box, whose text is its value, nor for
// a picture, nor for a window, whose caption Qt tells itself.
QString shownTextOf(const Control& control) {
    if (dynamic_cast<const Label*>(&control) || dynamic_cast<const ButtonBase*>(&control)
        || dynamic_cast<const GroupBox*>(&control)) {
        return withoutMnemonicMarks(toQString(control.text()));
    }
    return QString();
}

QString ownNameOf(const Control& control) {
    return control.accessibleName().empty() ? shownTextOf(control) : toQString(control.accessibleName());
}

QString nameOf(const Control& control) {
    const Control* caption = control.labelledBy();
    if (!control.accessibleName().empty() || !caption) {
        return ownNameOf(control);
    }
    const QString shown = shownTextOf(control);
    return shown.isEmpty() ? ownNameOf(*caption) : ownNameOf(*caption) + u' ' + shown;
}

class ControlAccessible : public QAccessibleWidget {
public:
    explicit ControlAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Role(widget->property(roleProperty).toInt())) {}

    QAccessible::Role role() const override {
        const Control* control = controlOfWidget(widget());
        if (control && control->accessibleRole() != AccessibleRole::Default) {
            return QAccessible::Role(control->accessibleRole());
        }
        if (isModalWindow()) {
            return QAccessible::Dialog;
        }
        return QAccessibleWidget::role();
    }

    // The children in attach order, the order of Tab, in which the window reads; Qt would give
    // them in z-order, where the first attached lies on top.
    int childCount() const override { return int(childWidgets().size()); }

    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = childWidgets();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return int(childWidgets().indexOf(qobject_cast<QWidget*>(child->object())));
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.modal = isModalWindow();
        if (const auto* button = checkableButton()) {
            state.checkable = true;
            state.checked = button->isChecked();
        }
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Accelerator) {
            return accessKey();
        }
        return QAccessibleWidget::text(kind);
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        QList<QPair<QAccessibleInterface*, QAccessible::Relation>> related = QAccessibleWidget::relations(match);
        Control* control = controlOfWidget(widget());
        if (!control) {
            return related;
        }
        const auto relate = [&](Control* other, QAccessible::Relation relation) {
            QWidget* otherWidget = widgetOf(other);
            if (!(match & relation) || !otherWidget) {
                return;
            }
            if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(otherWidget)) {
                related.append({accessible, relation});
            }
        };
        relate(control->labelledBy(), QAccessible::Label);
        for (Control* captioned : controlsCaptionedBy(*control)) {
            relate(captioned, QAccessible::Labelled);
        }
        return related;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (checkableButton() && widget()->isEnabled()) {
            names.prepend(toggleAction());
        }
        return names;
    }

    void doAction(const QString& action) override {
        if (auto* button = checkableButton(); button && action == toggleAction() && button->isEnabled()) {
            button->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == toggleAction() && !accessKey().isEmpty()) {
            return {accessKey()};
        }
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    QList<QWidget*> childWidgets() const {
        QList<QWidget*> widgets;
        if (const Control* control = controlOfWidget(widget())) {
            for (const auto& child : control->children()) {
                if (QWidget* childWidget = widgetOf(*child)) {
                    widgets.append(childWidget);
                }
            }
        }
        return widgets;
    }

    bool isModalWindow() const { return widget()->isWindow() && widget()->windowModality() != Qt::NonModal; }

    QAbstractButton* checkableButton() const {
        auto* button = qobject_cast<QAbstractButton*>(widget());
        return button && button->isCheckable() ? button : nullptr;
    }

    // Alt and the letter marked in the control's text, as the toolkit serves it.
    QString accessKey() const {
        const Control* control = controlOfWidget(widget());
        if (!control || widget()->isWindow()) {
            return QString();
        }
        const std::optional<QChar> letter = mnemonicOf(toQString(control->text()));
        if (!letter) {
            return QString();
        }
        return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(letter->unicode())))
            .toString(QKeySequence::NativeText);
    }
};

QAccessibleInterface* describedByToolkit(const QString& /*className*/, QObject* object) {
    if (!object || !object->isWidgetType() || !object->property(roleProperty).isValid()) {
        return nullptr;
    }
    return new ControlAccessible(static_cast<QWidget*>(object));
}

void showText(Control& control) {
    QWidget* widget = widgetOf(control);
    if (!widget) {
        return;
    }
    const QString name = nameOf(control);
    if (widget->accessibleName() != name) {
        widget->setAccessibleName(name);
    }
    const QString description = toQString(control.accessibleDescription());
    if (widget->accessibleDescription() != description) {
        widget->setAccessibleDescription(description);
    }
}

}  // namespace

void describeAs(QWidget& widget, QAccessible::Role role) {
    widget.setProperty(roleProperty, int(role));
}

void installAccessibleDescriptions() {
    QAccessible::installFactory(describedByToolkit);
}

void showAccessibleText(Control& control) {
    showText(control);
    for (Control* captioned : controlsCaptionedBy(control)) {
        showText(*captioned);
    }
}

void announceAccessibleDescription(Control& control) {
    if (QWidget* widget = widgetOf(control)) {
        QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}
