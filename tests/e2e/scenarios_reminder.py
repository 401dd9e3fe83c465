"""The reminder as a user meets it at logon."""

SCENARIOS = {}
