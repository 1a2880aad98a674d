"""The settings keys, in the loader's order, read from the one table that lists them."""

import os
import re

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "setup", "SettingsTable.h")


def keys():
    """The names of setup/SettingsTable.h's rows, in order."""
    with open(TABLE, encoding="utf-8") as table:
        names = re.findall(r'Key\{"([^"]+)"', table.read())
    if not names:
        raise SystemExit("no settings keys found in " + TABLE)
    return names
