#!/usr/bin/python3
"""Runs one end-to-end scenario: run_e2e.py BIN_DIR SCENARIO. Exits non-zero when it fails."""

import sys
import traceback

import scenarios_desktop
import scenarios_manager
import scenarios_reminder
import scenarios_sync
from tortavela_e2e import Desktop

SCENARIOS = {**scenarios_manager.SCENARIOS, **scenarios_reminder.SCENARIOS,
             **scenarios_desktop.SCENARIOS, **scenarios_sync.SCENARIOS}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        print(f"usage: {sys.argv[0]} BIN_DIR SCENARIO; scenarios: {', '.join(SCENARIOS)}")
        return 2
    # The desktop scenarios judge what a window manager makes of the windows: they get openbox.
    window_manager = sys.argv[2] in scenarios_desktop.SCENARIOS
    with Desktop(sys.argv[1], window_manager) as desktop:
        try:
            SCENARIOS[sys.argv[2]](desktop)
        except Exception:
            traceback.print_exc()
            return 1
    print(f"{sys.argv[2]}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
