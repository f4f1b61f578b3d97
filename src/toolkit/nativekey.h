#pragma once

// The key to the platform side of the toolkit's objects: the widget behind a control, and what
// stands behind a font, an icon or a message. Only the toolkit can make one, in its private
// headers, so nothing outside the toolkit and its tests reaches what stands behind its objects.

class NativeKey {
private:
    constexpr NativeKey() = default;
    friend struct NativeKeyMaker;
};
