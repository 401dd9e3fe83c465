#pragma once

#include <memory>
#include <string>

class ChildProcess;

// An X server of the test's own (Xvfb), so that a test can look at real windows and click them
// without touching anybody's desktop. Not available when Xvfb is not installed.
class PrivateDisplay {
public:
    PrivateDisplay();
    ~PrivateDisplay();

    bool available() const { return !m_name.empty(); }
    // ":N", for DISPLAY.
    const std::string& name() const { return m_name; }

private:
    std::unique_ptr<ChildProcess> m_server;
    std::string m_name;
};
