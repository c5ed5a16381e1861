#!/usr/bin/env python3
"""Keeps a tileset table in a real git repository, set up as the README tells:
kestrivane-table's dump --textconv as the text conversion for diffs and its
merge as the merge driver. Two branches that rename different slots merge
clean, one that renames the same slot differently is a conflict, and git diff
shows a rename as text. A committed table that the editor refuses leaves
diff, log and show working, and a merge of it is a conflict that keeps ours.
Set up with a code page, the diff and the conflict show Cyrillic letters.
With --package, the tool is the one of the Debian package in FOLDER, unpacked
into a scratch root and found on the PATH, as the README's set-up has it.

    git_table_test.py TOOL WORK
    git_table_test.py --package FOLDER WORK
"""

import os
import pathlib
import shutil
import struct
import subprocess
import sys

WORK = pathlib.Path(sys.argv[-1]).resolve()
TABLE = "qx7set.dat"
# No settings of the machine's user or system: only those the test makes.
ENV = dict(os.environ, HOME=str(WORK.parent / (WORK.name + "-home")), GIT_CONFIG_NOSYSTEM="1", LC_ALL="C")


def unpack(folder):
    """The tool of the one package in folder, unpacked as dpkg installs it, with its folder on the PATH."""
    packages = sorted(pathlib.Path(folder).glob("kestrivane-table_*.deb"))
    if len(packages) != 1:
        sys.exit("expected one kestrivane-table_*.deb in %s, found %s" % (folder, packages))
    root = WORK.parent / (WORK.name + "-root")
    shutil.rmtree(root, ignore_errors=True)
    subprocess.run(["dpkg-deb", "-x", str(packages[0]), str(root)], check=True)
    tool = root / "usr" / "bin" / "kestrivane-table"
    if b"__asan" in tool.read_bytes():
        sys.exit("%s is a build under AddressSanitizer, not the release build" % packages[0])
    ENV["PATH"] = "%s%s%s" % (tool.parent, os.pathsep, ENV["PATH"])
    return str(tool)


# The tool, and how git's settings name it: on the PATH as the README does, or by its full path.
if sys.argv[1] == "--package":
    TOOL, COMMAND = unpack(sys.argv[2]), "kestrivane-table"
else:
    TOOL = os.path.abspath(sys.argv[1])
    COMMAND = '"%s"' % TOOL


def run(*args, expect=0):
    result = subprocess.run(args, cwd=WORK, capture_output=True, encoding="utf-8", env=ENV)
    if expect is not None and result.returncode != expect:
        sys.exit("%s: exit code %d, expected %d\n%s%s" % (" ".join(args), result.returncode, expect,
                                                        result.stdout, result.stderr))
    return result


def git(*args, expect=0):
    return run("git", *args, expect=expect)


def dump(*code_page):
    return run(TOOL, "dump", *code_page, TABLE).stdout


def rename(old, new, *code_page):
    """Renames a slot of the table in the work tree through its dump."""
    text = dump(*code_page)
    if text.count('"%s"' % old) != 1:
        sys.exit("the demo table has no single slot %r" % old)
    (WORK / "table.txt").write_text(text.replace('"%s"' % old, '"%s"' % new), encoding="utf-8")
    run(TOOL, "build", *code_page, "table.txt", "-o", TABLE)
    (WORK / "table.txt").unlink()


def commit_on(branch, old, new, *code_page):
    git("checkout", "-q", "-b", branch, "main")
    rename(old, new, *code_page)
    git("commit", "-q", "-am", "%s: %s" % (branch, new))


def expect(condition, what, output):
    if not condition:
        sys.exit("%s:\n%s" % (what, output))


def set_up():
    for folder in (WORK, pathlib.Path(ENV["HOME"])):
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
    git("init", "-q", "-b", "main")
    for key, value in [("user.name", "Test"), ("user.email", "test@example.org"),
                       ("diff.kestrivane.textconv", "%s dump --textconv" % COMMAND),
                       ("merge.kestrivane.name", "Kestrivane tileset table"),
                       ("merge.kestrivane.driver", "%s merge %%O %%A %%B" % COMMAND)]:
        git("config", key, value)
    (WORK / ".gitattributes").write_text("qx7set.dat diff=kestrivane merge=kestrivane\n")
    run(TOOL, "demo", TABLE)
    git("add", ".gitattributes", TABLE)
    git("commit", "-q", "-m", "Demo table")


def diff_shows_a_rename_as_text():
    rename("dirt path", "gravel path")
    shown = git("diff").stdout
    expect('-  slot 4 "dirt path"\n+  slot 4 "gravel path"\n' in shown, "git diff does not show the rename", shown)
    print(shown, end="")
    git("checkout", "-q", "--", TABLE)


def a_patch_reads_as_a_plain_text_diff():
    """A mod kept in git as the table tool's patch diffs as the text it is, with no attribute set for it."""
    shutil.copy(WORK / TABLE, WORK / "base.dat")
    rename("dirt path", "gravel path")
    run(TOOL, "patch", "base.dat", TABLE, "-o", "gravel.patch")
    git("checkout", "-q", "--", TABLE)
    git("add", "gravel.patch")
    git("commit", "-q", "-m", "Gravel paths as a patch")
    patch = (WORK / "gravel.patch").read_text()
    (WORK / "gravel.patch").write_text(patch.replace('"gravel path"', '"stone path"'))
    shown = git("diff").stdout
    expect('-tileset 0 "Grassland" slot 4: "dirt path" -> "gravel path"\n'
           '+tileset 0 "Grassland" slot 4: "dirt path" -> "stone path"\n' in shown,
           "git diff does not show the patch's line as text", shown)
    expect(git("diff", "--numstat").stdout == "1\t1\tgravel.patch\n", "git counts the patch as binary", shown)
    git("checkout", "-q", "--", "gravel.patch")
    (WORK / "base.dat").unlink()


def renames_of_different_slots_merge_clean():
    commit_on("path", "dirt path", "gravel path")
    commit_on("pond", "pond", "lake")
    merged = git("merge", "-q", "--no-edit", "path")
    table = dump()
    expect('slot 4 "gravel path"' in table and 'slot 10 "lake"' in table, "the merged table lacks a rename",
           merged.stdout + table)
    expect(git("status", "--porcelain").stdout == "", "the merge left changes", git("status").stdout)


def renames_of_one_slot_conflict():
    commit_on("flowers-a", "flowers", "roses")
    commit_on("flowers-b", "flowers", "tulips")
    merged = git("merge", "--no-edit", "flowers-a", expect=1)
    output = merged.stdout + merged.stderr
    expect('conflict: tileset 0 slot 1: base "flowers", ours "tulips", theirs "roses"' in output,
           "the conflict is not listed", output)
    expect("CONFLICT" in output and TABLE in git("diff", "--name-only", "--diff-filter=U").stdout,
           "git does not see the conflict", output)
    expect('slot 1 "tulips"' in dump(), "the conflicting slot does not keep ours", dump())
    git("merge", "--abort")


def refuse_table():
    """Makes the table in the work tree one that the editor refuses: 152 slots per tileset."""
    table = bytearray((WORK / TABLE).read_bytes())
    table[1:5] = struct.pack("<I", 152)
    (WORK / TABLE).write_bytes(bytes(table))


def refused_table_leaves_history_readable():
    git("checkout", "-q", "-b", "refused", "main")
    refuse_table()
    git("commit", "-q", "-am", "A table the editor refuses")
    refused = "+problem: offset 1 (0x1): the header declares 152 slots per tileset"
    # The entries as they lie: the name of tileset 1 is slot 151 of tileset 0 now.
    entries = '+  slot 151 "Caf\\xE9 Terrace"'
    for command in (("diff", "main"), ("log", "-p"), ("show",)):
        shown = git(*command).stdout
        expect(refused in shown and entries in shown, "git %s does not show the refused table" % command[0], shown)


def merge_of_a_refused_table_keeps_ours():
    git("checkout", "-q", "-b", "ours-of-refused", "main")
    rename("pond", "lake")
    git("commit", "-q", "-am", "ours: lake")
    before = (WORK / TABLE).read_bytes()
    merged = git("merge", "--no-edit", "refused", expect=1)
    output = merged.stdout + merged.stderr
    expect("has 152 slots per tileset" in output and "CONFLICT" in output,
           "the refused table is not told as a conflict", output)
    expect((WORK / TABLE).read_bytes() == before, "the failed merge changed ours", output)
    git("merge", "--abort")


def cyrillic_letters_with_the_code_page():
    git("checkout", "-q", "main")
    git("config", "diff.kestrivane.textconv", "%s dump --textconv --code-page 1251" % COMMAND)
    git("config", "merge.kestrivane.driver", "%s merge --code-page 1251 %%O %%A %%B" % COMMAND)
    cyrillic = ("--code-page", "1251")
    rename("dirt path", "тропа", *cyrillic)
    shown = git("diff").stdout
    expect('-  slot 4 "dirt path"\n+  slot 4 "тропа"\n' in shown, "git diff does not show the Cyrillic rename", shown)
    print(shown, end="")
    git("checkout", "-q", "--", TABLE)
    commit_on("roses", "flowers", "розы", *cyrillic)
    commit_on("tulips", "flowers", "тюльпаны", *cyrillic)
    merged = git("merge", "--no-edit", "roses", expect=1)
    output = merged.stdout + merged.stderr
    expect('conflict: tileset 0 slot 1: base "flowers", ours "тюльпаны", theirs "розы"' in output,
           "the conflict is not listed in Cyrillic", output)
    git("merge", "--abort")


set_up()
diff_shows_a_rename_as_text()
a_patch_reads_as_a_plain_text_diff()
renames_of_different_slots_merge_clean()
renames_of_one_slot_conflict()
refused_table_leaves_history_readable()
merge_of_a_refused_table_keeps_ours()
cyrillic_letters_with_the_code_page()
print("kept in git: diff, a patch as text, clean merge, conflict, a refused table and Cyrillic letters as expected")
