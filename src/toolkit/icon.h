#pragma once

// Images a control can show; icons are the only kind the program has.

#include <memory>

#include "toolkit/nativekey.h"
#include "toolkit/values.h"

class Image {
public:
    virtual ~Image() = default;
    virtual Size size() const = 0;
};

class Icon : public Image {
public:
    // The platform's icon; complete, and reached, only inside the toolkit, which makes icons
    // (Resources).
    struct Native;
    Icon(NativeKey key, std::unique_ptr<Native> native);
    ~Icon() override;
    Size size() const override;
    const Native& native(NativeKey /*key*/) const { return *native_; }

private:
    std::unique_ptr<Native> native_;
};
