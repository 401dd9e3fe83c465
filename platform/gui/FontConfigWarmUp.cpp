#include "platform/gui/FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

namespace platform {

// Qt's own reading finds the configuration loaded. Had it come first, fontconfig would keep
// one of the two and free the other: the warm-up can never make the fonts wrong.
FontConfigWarmUp::FontConfigWarmUp() : m_thread([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace platform
