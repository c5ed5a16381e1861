"""Running a command for the table tool's process tests, and stopping at the
first failed expectation with what the command printed."""

import subprocess
import sys


def shown(what):
    if isinstance(what, subprocess.CompletedProcess):
        return "%s\n--- exit code: %d\n--- output:\n%s--- errors:\n%s" % (
            " ".join(map(str, what.args)), what.returncode, shown(what.stdout), shown(what.stderr))
    return what.decode(errors="backslashreplace") if isinstance(what, bytes) else what or ""


def expect(condition, what, output=""):
    if not condition:
        sys.exit("%s:\n%s" % (what, shown(output)))


def run(command, cwd, code=0, **options):
    """Runs command in cwd, its output and errors captured unless options say
    otherwise, and expects the exit code code, or any with None."""
    result = subprocess.run(command, cwd=cwd, **{"stdout": subprocess.PIPE, "stderr": subprocess.PIPE, **options})
    expect(code is None or result.returncode == code, "exit code %d, expected %s" % (result.returncode, code), result)
    return result
