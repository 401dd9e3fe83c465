#pragma once

#include <thread>

namespace platform {

// Qt reads the desktop's font configuration (fontconfig: a hundred files and their caches) the
// first time a window measures a text, and that alone takes about 3 ms. Started before the
// application object, the reading runs on a thread of its own while the application connects to
// the display; wait() before the first window is made.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;
    ~FontConfigWarmUp();

    void wait();

private:
    std::thread m_thread;
};

} // namespace platform
