#pragma once

// A picture box: one image, drawn at its own size from the box's top left corner.

#include <memory>

#include "toolkit/control.h"

enum class PictureBoxSizeMode { Normal = 0 };

class PictureBox : public Control {
public:
    PictureBox();

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);
    PictureBoxSizeMode sizeMode() const { return sizeMode_; }
    void setSizeMode(PictureBoxSizeMode mode) { sizeMode_ = mode; }

private:
    void createNativeWidget() override;
    void applyNativeImage();

    std::shared_ptr<Image> image_;
    PictureBoxSizeMode sizeMode_ = PictureBoxSizeMode::Normal;
};
