#!/usr/bin/env bash
# Sets Tortavela up on a Debian machine and then either starts the manager or runs every test.
#   ./setup.sh run    install what is missing, build, install into ~/.local, start Agendela
#   ./setup.sh test   install what is missing, build, run every test through ctest
#   ./setup.sh uninstall   remove what `run` installed and stop the daily timer; the contacts stay
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build="$here/build"
prefix="${TORTAVELA_PREFIX:-$HOME/.local}"

packages=(
    build-essential cmake ninja-build pkg-config clang-format clang-tidy
    qt6-base-dev libfontconfig-dev qt6-multimedia-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev libical-dev libicu-dev
    faketime desktop-file-utils x11-utils systemd
    xvfb xauth at-spi2-core python3-pyatspi dbus-daemon dbus-bin dbus-x11 xdotool imagemagick
    openbox
    fonts-dejavu-core
)

install_missing_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

# Extra CMake settings go in the arguments: the tests build with warnings as errors.
build_all() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build"
}

# The gates besides the tests: the format of every file, clang-tidy on the libraries without Qt.
check_code() {
    cmake --build "$build" --target format_check tidy_check
}

# The suites without Qt once more, built with AddressSanitizer and UndefinedBehaviorSanitizer.
run_sanitized_core_tests() {
    local sanitized="$here/build-sanitize"
    cmake -S "$here" -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DTORTAVELA_SANITIZE=ON -DTORTAVELA_BUILD_BENCHMARKS=OFF -DTORTAVELA_WARNINGS_AS_ERRORS=ON
    cmake --build "$sanitized" --target contacts_tests exchange_tests platform_tests \
        reminder_core_tests
    ctest --test-dir "$sanitized" -L core --output-on-failure --no-tests=error --timeout 300 \
        -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing_packages
    build_all -DTORTAVELA_WARNINGS_AS_ERRORS=OFF
    cmake --install "$build" --prefix "$prefix" --strip
    echo "Tortavela is installed in $prefix/lib/tortavela; starting Agendela."
    exec "$prefix/bin/Agendela"
    ;;
test)
    install_missing_packages
    build_all -DTORTAVELA_WARNINGS_AS_ERRORS=ON
    check_code
    ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 300
    run_sanitized_core_tests
    ;;
uninstall)
    program_dir="$prefix/lib/tortavela"
    # The daily timer stops first, where a systemd user instance answers; elsewhere there is
    # none to stop.
    user_instance=false
    if command -v systemctl >/dev/null 2>&1 &&
        systemctl --user show --property=Version >/dev/null 2>&1; then
        user_instance=true
        systemctl --user disable --now tortavela-avisela.timer >/dev/null 2>&1 || true
    fi
    # Exactly what the install wrote, as it listed it; then what the programs make as they run:
    # the locks, the logon registration and the record that the timer was enabled.
    if [ -f "$program_dir/installed-files.txt" ]; then
        while IFS= read -r file; do
            [ -n "$file" ] && rm -f -- "$file"
        done <"$program_dir/installed-files.txt"
    fi
    rm -f "$program_dir/.Agendela.lock" "$program_dir/.Avisela.lock" "$program_dir/data.tvl.lock" \
        "$program_dir/daily-timer-enabled" \
        "${XDG_CONFIG_HOME:-$HOME/.config}/autostart/Tortavela.desktop"
    if [ "$user_instance" = true ]; then
        systemctl --user daemon-reload >/dev/null 2>&1 || true
    fi
    if rmdir "$program_dir" 2>/dev/null; then
        echo "Tortavela is uninstalled."
    else
        echo "Tortavela is uninstalled. Your contacts stay in $program_dir/data.tvl"
    fi
    ;;
*)
    echo "usage: $0 run|test|uninstall" >&2
    exit 2
    ;;
esac
