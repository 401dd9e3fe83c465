#!/usr/bin/env bash
# Sets Tortavela up on a Debian machine and then either starts the manager or runs every test.
#   ./setup.sh run    install what is missing, build the two programs, install into ~/.local,
#                     start Agendela
#   ./setup.sh test   install what is missing, build everything, run every test through ctest
#   ./setup.sh uninstall   remove what `run` installed and stop the daily timer; the contacts stay
# What it tells the user is in Spanish, as the programs are.
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
    qtkeychain-qt6-dev gnome-keyring libsecret-tools
    radicale xandikos vdirsyncer curl openssl
    fonts-dejavu-core
)

install_missing_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Instalando los paquetes que faltan: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

# CMake's own messages go to a log, shown only when something fails.
quietly() {
    local log="$1"
    shift
    mkdir -p "$build"
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        return 1
    fi
}

# Ninja's progress as one Spanish line that counts the steps (a line per tenth when the output is
# no terminal); the compiler's messages pass as they come.
build_with_progress() {
    local line step total percent shown=-1 midline=0
    NINJA_STATUS="[%f/%t] " cmake --build "$build" 2>&1 | while IFS= read -r line; do
        if [[ $line =~ ^\[([0-9]+)/([0-9]+)\]\  ]]; then
            step=${BASH_REMATCH[1]}
            total=${BASH_REMATCH[2]}
            percent=$((100 * step / total))
            if [ -t 1 ]; then
                printf '\rCompilando: %d de %d pasos (%d %%)' "$step" "$total" "$percent"
                midline=1
            elif [ $((percent / 10)) -ne "$shown" ]; then
                shown=$((percent / 10))
                printf 'Compilando: %d de %d pasos (%d %%)\n' "$step" "$total" "$percent"
            fi
        elif [ "$line" != "ninja: no work to do." ]; then
            if [ "$midline" -eq 1 ]; then
                echo
                midline=0
            fi
            printf '%s\n' "$line"
        fi
    done
    # The progress line ends before what comes next.
    if [ -t 1 ]; then
        echo
    fi
}

# Extra CMake settings go in the arguments: the tests build with warnings as errors, and `run`
# builds the two programs only.
build_all() {
    echo "Preparando la compilación en $build..."
    quietly "$build/configurar.log" \
        cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    build_with_progress
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
        reminder_core_tests sync_tests
    ctest --test-dir "$sanitized" -L core --output-on-failure --no-tests=error --timeout 300 \
        -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing_packages
    # The window comes sooner without the tests and the benchmarks, which only `test` needs.
    build_all -DTORTAVELA_WARNINGS_AS_ERRORS=OFF -DTORTAVELA_BUILD_TESTS=OFF \
        -DTORTAVELA_BUILD_BENCHMARKS=OFF
    echo "Instalando en $prefix..."
    quietly "$build/instalar.log" cmake --install "$build" --prefix "$prefix" --strip
    echo "Tortavela está instalado en $prefix/lib/tortavela. Se abre Agendela."
    echo "La guía de uso está en $prefix/lib/tortavela/GUIA.md (menú Ayuda)."
    exec "$prefix/bin/Agendela"
    ;;
test)
    install_missing_packages
    build_all -DTORTAVELA_WARNINGS_AS_ERRORS=ON -DTORTAVELA_BUILD_TESTS=ON \
        -DTORTAVELA_BUILD_BENCHMARKS=ON
    echo "Comprobando el formato y clang-tidy..."
    check_code
    echo "Ejecutando las pruebas..."
    ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 300
    echo "Ejecutando las pruebas sin Qt con los sanitizadores..."
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
        echo "Tortavela se ha desinstalado."
    else
        echo "Tortavela se ha desinstalado. Tus contactos siguen en $program_dir/data.tvl"
    fi
    ;;
*)
    echo "uso: $0 run|test|uninstall" >&2
    echo "  run        instala lo que falta, compila los dos programas, los instala y abre Agendela" >&2
    echo "  test       instala lo que falta, compila todo y ejecuta todas las pruebas" >&2
    echo "  uninstall  quita lo que instaló run; los contactos se quedan" >&2
    exit 2
    ;;
esac
