#pragma once

// A label: text the toolkit draws itself, wrapped at word boundaries to the label's width.

#include <string>

#include "toolkit/control.h"

enum class ContentAlignment { TopLeft = 0, TopCenter = 7, TopRight = 8 };

class Label : public Control {
public:
    Label();

    ContentAlignment alignment() const { return alignment_; }
    void setAlignment(ContentAlignment alignment);
    // While on, the label is sized to its text in its font, unwrapped; a later setBounds
    // overrides that size until the text changes again.
    bool fitToText() const { return fitToText_; }
    void setFitToText(bool fit);

    void setText(const std::string& text) override;

private:
    void createNativeWidget() override;
    void applyNativeText() override;
    void fitSizeToText();

    ContentAlignment alignment_ = ContentAlignment::TopLeft;
    bool fitToText_ = false;
};
