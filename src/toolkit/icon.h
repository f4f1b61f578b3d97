#pragma once

// Images a control can show; icons are the only kind the program has.

#include <memory>

#include "toolkit/values.h"

class Image {
public:
    virtual ~Image() = default;
    virtual Size size() const = 0;
};

class Icon : public Image {
public:
    // The platform's icon; complete only inside the toolkit, which makes icons (Resources).
    struct Native;
    explicit Icon(std::unique_ptr<Native> native);
    ~Icon() override;
    Size size() const override;
    const Native& native() const { return *native_; }

private:
    std::unique_ptr<Native> native_;
};
