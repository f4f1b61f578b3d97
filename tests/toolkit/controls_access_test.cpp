// What screen readers are told of the controls: roles, names, captions, descriptions and modality.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTimer>

#include "controls_support.h"

using namespace controls_support;

namespace {

QAccessibleInterface* accessibleOf(Control& control) {
    return QAccessible::queryAccessibleInterface(widgetOf(control));
}

std::string name(Control& control) {
    return accessibleOf(control)->text(QAccessible::Name).toStdString();
}

// The controls related to this one as the relation says, by their names.
std::vector<std::string> related(Control& control, QAccessible::Relation relation) {
    std::vector<std::string> names;
    for (const auto& [other, kind] : accessibleOf(control)->relations(relation)) {
        names.push_back(other->text(QAccessible::Name).toStdString());
    }
    return names;
}

class AccessTest : public ::testing::Test {
protected:
    void SetUp() override { startToolkit(); }

    Form form;
};

}  // namespace

TEST_F(AccessTest, EveryKindHasItsRoleAndIsNamedByWhatItShows) {
    form.setText("Caption");
    auto* group = addControl<GroupBox>(&form, "G&roup", {0, 0, 200, 200});
    auto* label = addControl<Label>(group, "&Name && more", {10, 20, 80, 13});
    auto* box = addControl<TextBox>(group, "typed", {10, 40, 80, 20});
    auto* radio = addControl<RadioButton>(group, "&Pick", {10, 70, 80, 16}, [](RadioButton& r) { r.setChecked(true); });
    auto* check = addControl<CheckBox>(group, "Tick", {10, 90, 80, 16});
    auto* button = addControl<Button>(&form, "&Go", {10, 210, 75, 23});
    auto* picture = addControl<PictureBox>(&form, {100, 210, 32, 32}, [](PictureBox&) {});
    show(form);

    const struct {
        Control* control;
        QAccessible::Role role;
        std::string name;
        std::string accessKey;
    } expected[] = {
        {&form, QAccessible::Window, "Caption", ""},
        {group, QAccessible::Grouping, "Group", "Alt+R"},
        {label, QAccessible::StaticText, "Name & more", "Alt+N"},
        {box, QAccessible::EditableText, "", ""},
        {radio, QAccessible::RadioButton, "Pick", "Alt+P"},
        {check, QAccessible::CheckBox, "Tick", ""},
        {button, QAccessible::Button, "Go", "Alt+G"},
        {picture, QAccessible::Graphic, "", ""},
    };
    for (const auto& kind : expected) {
        QAccessibleInterface* accessible = accessibleOf(*kind.control);
        EXPECT_EQ(accessible->role(), kind.role) << kind.name;
        EXPECT_EQ(name(*kind.control), kind.name);
        EXPECT_EQ(accessible->text(QAccessible::Accelerator).toStdString(), kind.accessKey) << kind.name;
        EXPECT_FALSE(accessible->state().modal) << kind.name;
    }
    EXPECT_TRUE(accessibleOf(*radio)->state().checkable);
    EXPECT_TRUE(accessibleOf(*radio)->state().checked);
    EXPECT_TRUE(related(*box, QAccessible::Label).empty()) << "a group box captions none of its controls";

    QAccessibleInterface* window = accessibleOf(form);
    ASSERT_EQ(window->childCount(), 3);
    EXPECT_EQ(window->child(0)->object(), widgetOf(*group)) << "children in attach order";
    EXPECT_EQ(window->indexOfChild(accessibleOf(*picture)), 2);

    picture->setAccessibleRole(AccessibleRole::StaticText);
    picture->setAccessibleName("Logo");
    EXPECT_EQ(accessibleOf(*picture)->role(), QAccessible::StaticText);
    EXPECT_EQ(name(*picture), "Logo");
}

TEST_F(AccessTest, ACaptionNamesWhatItCaptionsAndFollowsItsText) {
    auto* caption = addControl<Label>(&form, "Count:", {10, 10, 50, 13});
    auto* value = addControl<Label>(&form, "3", {60, 10, 20, 13});
    auto* box = addControl<TextBox>(&form, "", {10, 30, 80, 20});
    value->setLabelledBy(caption);
    box->setLabelledBy(caption);
    show(form);

    EXPECT_EQ(name(*value), "Count: 3") << "a label adds its own text";
    EXPECT_EQ(name(*box), "Count:") << "a text box's text is no name";
    EXPECT_EQ(related(*value, QAccessible::Label), std::vector<std::string>{"Count:"});
    EXPECT_EQ(related(*caption, QAccessible::Labelled), (std::vector<std::string>{"Count: 3", "Count:"}));

    value->setText("4");
    caption->setText("Total:");
    EXPECT_EQ(name(*value), "Total: 4");
    EXPECT_EQ(name(*box), "Total:");

    box->setAccessibleName("Own");
    box->setAccessibleDescription("Told after the name");
    EXPECT_EQ(name(*box), "Own");
    EXPECT_EQ(accessibleOf(*box)->text(QAccessible::Description), "Told after the name");
}

TEST_F(AccessTest, AWindowShownModallyIsAModalDialog) {
    form.setVisible(true);
    Form dialog;
    QAccessible::Role role = QAccessible::NoRole;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        role = accessibleOf(dialog)->role();
        modal = accessibleOf(dialog)->state().modal;
        dialog.close();
    });
    dialog.showModal();
    EXPECT_EQ(role, QAccessible::Dialog);
    EXPECT_TRUE(modal);
    EXPECT_EQ(accessibleOf(form)->role(), QAccessible::Window);
}
