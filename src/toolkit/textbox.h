#pragma once

// Text boxes: single-line or multi-line edit boxes.

#include <cstdint>
#include <string>

#include "toolkit/control.h"

enum class HorizontalAlignment { Left = 0, Right = 1, Center = 2 };

class TextBoxBase : public ControlSuperClass {
public:
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    bool multiline() const { return multiline_; }
    // Taken only before the native window is made: a single-line and a multi-line box are
    // different kinds of widget.
    void setMultiline(bool multiline);
    std::uint32_t textLength() const;
    // Selects the whole text when the native window exists; otherwise does nothing.
    void selectAll();

    std::string text() const override;
    void setText(const std::string& text) override;
    Color backgroundColor() const override;

protected:
    using ControlSuperClass::ControlSuperClass;

private:
    void applyNativeText() override;
    void applyNativeBackground() override;

    bool readOnly_ = false;
    bool multiline_ = false;
};

class TextBox : public TextBoxBase {
public:
    TextBox();

    HorizontalAlignment alignment() const { return alignment_; }
    void setAlignment(HorizontalAlignment alignment);

private:
    void createNativeWidget() override;

    HorizontalAlignment alignment_ = HorizontalAlignment::Left;
};
