// The launcher's own splash window. The launcher holds it through an owning pointer that
// stays null until a splash image is shown.
#pragma once

class SplashWindow {
public:
    virtual ~SplashWindow() = default;
};
