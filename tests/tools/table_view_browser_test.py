#!/usr/bin/env python3
"""Opens the page of `kestrivane-table view` in Debian's headless Chromium, driven through its DevTools protocol
over --remote-debugging-pipe, and checks what a modder sees: every tileset, the search, the fields that differ from
the base as `diff` lists them, the problems as `check` reports them, the page without its script, no script error and
no request. A run tests one case of CASES, named as its CTest test is, and prints the page's size and timings.

    table_view_browser_test.py CASE TOOL WORK [SCREENSHOT]
"""

import base64
import json
import os
import pathlib
import re
import select
import shutil
import statistics
import subprocess
import sys
import unittest

CASE, TOOL, WORK = sys.argv[1], os.path.abspath(sys.argv[2]), pathlib.Path(sys.argv[3])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
WORDS = ["grass", "rock", "water", "sand", "lava", "ice", "moss", "brick", "tile", "wood", "snow", "clay"]
HOSTILE = ['<script>alert(1)</script>', '"><img src=x onerror=alert(2)>', "</script><script>alert(3)//",
           "<!--", "&amp; &lt;", "' onmouseover='alert(4)"]

# Each text as the page shows it and its search looks for it, read from the DOM; the fields that the overview
# marks as changed and found, as "tileset N LABEL", each cell by the legend's colour it is drawn in; and the rows shown.
READ_PAGE = """(() => {
  const shown = e => e && getComputedStyle(e).display !== 'none' && e.offsetParent !== null;
  const label = (i, k) => 'tileset ' + i + ' ' + (k === -2 ? 'name' : k === -1 ? 'ambient' : 'slot ' + k);
  const legend = {};
  for (const item of document.querySelectorAll('#legend i')) legend[getComputedStyle(item).backgroundColor] = item.className;
  // Each line of a section as [slot, text, shown]: a bare line of text, or an element, with its value apart where
  // it changed.
  const slotsOf = section => {
    const pre = section.querySelector('pre');
    const lines = [];
    for (const node of pre ? pre.childNodes : []) {
      if (node.nodeType === Node.TEXT_NODE) {
        for (const line of node.textContent.split('\\n').filter(line => line)) lines.push([line, null, pre]);
      } else {
        lines.push([node.textContent, node.querySelector('.v'), node]);
      }
    }
    return lines.map(([line, value, element]) =>
      [parseInt(line), value ? value.textContent : line.replace(/^ *[0-9]+ /, ''), shown(element)]);
  };
  const rows = [...document.querySelectorAll('#overview .row')];
  const marks = {c: [], m: []};
  rows.forEach((row, i) => {
    const cells = row.lastChild;
    const pixels = cells.getContext('2d').getImageData(0, 0, cells.width, 1).data;
    if (row.children[1].classList.contains('c')) marks.c.push(label(i, -2));
    if (row.children[2].classList.contains('c')) marks.c.push(label(i, -1));
    if (row.children[1].classList.contains('m')) marks.m.push(label(i, -2));
    for (let k = 0; k < cells.width / 6; k++) {
      const kind = legend['rgb(' + pixels.slice(24 * k + 4, 24 * k + 7).join(', ') + ')'];
      if (kind in marks) marks[kind].push(label(i, k));
    }
  });
  return {
    sections: [...document.querySelectorAll('main section')].map(s => ({
      name: s.querySelector('h2 .name').textContent, shown: shown(s),
      slots: slotsOf(s)})),
    changes: [...document.querySelectorAll('main [data-field]')].map(e => 'tileset ' + e.closest('section').dataset.tileset +
      ' ' + e.dataset.field + ': ' + e.querySelector('del').textContent + ' -> ' + e.querySelector('.v').textContent),
    overview: marks.c, marked: marks.m, rowsShown: rows.filter(shown).map(row => +row.dataset.tileset),
    results: document.querySelectorAll('#results li').length, found: (document.getElementById('found') || {}).textContent,
    problems: [...document.querySelectorAll('.problems li')].map(li => li.textContent),
    count: (document.querySelector('.count') || {}).textContent || '', title: document.querySelector('h1').textContent,
    here: [...document.querySelectorAll('pre > .here')].map(line => parseInt(line.textContent)), images: document.images.length, scripts: document.scripts.length, violations: window.violations || [],
  };
})()"""

# The time from a keystroke's input event to the next frame, as the page's own clock measures it.
TIMED_KEYSTROKE = """new Promise(done => {
  const box = document.getElementById('q');
  const start = performance.now();
  box.value = %s;
  box.dispatchEvent(new Event('input'));
  const handled = performance.now();
  requestAnimationFrame(() => setTimeout(() => done([handled - start, performance.now() - start])));
})"""

# The time from the start of the page's load to its first frame after the script ran.
FIRST_VIEW = "new Promise(done => requestAnimationFrame(() => setTimeout(() => done(performance.now()))))"


def tool(*args, stdin=None, code=(0,)):
    result = subprocess.run([TOOL, *args], cwd=WORK, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert result.returncode in code, (args, result.returncode, result.stderr)
    return result.stdout.decode()


def dump_text(tilesets):
    """A text dump of tilesets given as (name, ambient, {slot: text}), texts in the dump's notation."""
    lines = ["tilesets %d" % len(tilesets)]
    for i, (name, ambient, slots) in enumerate(tilesets):
        lines += ["", "tileset %d" % i, '  name "%s"' % name, "  ambient %d" % ambient]
        lines += ['  slot %d "%s"' % (k, text) for k, text in sorted(slots.items())]
    return "\n".join(lines) + "\n"


def escaped(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def build(name, text):
    (WORK / (name + ".txt")).write_text(text)
    tool("build", name + ".txt", "-o", name)


def largest(changed):
    """255 tilesets of 151 full slots; the changed one has other texts in every tenth slot, other names in every
    seventeenth tileset and other ambient numbers in every twentieth."""
    tilesets = []
    for i in range(255):
        name = ("Tileset %03d %s" % (i, WORDS[i % len(WORDS)] + " lands" * 4))[:31]
        slots = {k: ("t%03d s%03d " % (i, k) + (WORDS[(i * 151 + k) % len(WORDS)] + " ") * 4)[:29] + " \\xE9"
                 for k in range(151)}
        if changed:
            name = name if i % 17 else name.upper()
            slots.update({k: "t%03d s%03d renamed" % (i, k) for k in range(i % 10, 151, 10)})
        tilesets.append((name, (i if not changed or i % 20 else i + 1) % 256, slots))
    return dump_text(tilesets)


def demo_files():
    tool("demo", "base.dat")
    demo = tool("dump", "base.dat")
    changed = demo.replace('"dirt path"', '"gravel path"').replace("ambient 255", "ambient 7")
    changed = changed.replace('slot 1 "chair"', 'slot 1 "bench"\n  slot 9 "lantern"').replace('  slot 0 "rock"\n', "")
    build("table.dat", changed.replace('name "Cave"', 'name "Crystal Cave"'))


def code_page_files():
    tool("demo", "table.dat")


def largest_files():
    build("base.dat", largest(False))
    build("table.dat", largest(True))


def hostile_files():
    slots = {k: escaped(text) for k, text in enumerate(HOSTILE)}
    build("base.dat", dump_text([(escaped(HOSTILE[0]), 1, slots), ("<b>gone</b>", 2, {0: "<i>"})]))
    build("table.dat", dump_text([(escaped(HOSTILE[1]), 2, {k: escaped(t[::-1]) for k, t in enumerate(HOSTILE)})]))
    with open(WORK / "table.dat", "ab") as table:
        table.write(b"<script>alert(5)</script>")
    (WORK / "table.dat").rename(WORK / "<i>table&amp;'.dat")


# Each case: how its files are made, the view's options (a piped base comes from standard input), and what is
# typed into the search.
CASES = {
    "Demo": dict(files=demo_files, file="table.dat", base="base.dat", page=None, queries=["GRASS", "c", "xyz"]),
    "DemoCodePage": dict(files=code_page_files, file="table.dat", base=None, page="1252",
                         queries=["CAFÉ", "€", "ß", "\\xE9"]),
    "Largest": dict(files=largest_files, file="table.dat", base="base.dat", page=None,
                    queries=["w", "water", "t254 s150", "RENAMED", "\\xe9"]),
    "Hostile": dict(files=hostile_files, file="<i>table&amp;'.dat", base="base.dat", piped=True, page=None,
                    queries=["<script>", "alert(", "'"]),
}


class Browser:
    """Chromium over its DevTools pipe: commands to its fd 3, answers and events, each ended by a NUL, from fd 4."""

    def __init__(self, profile):
        commands_in, self.commands = os.pipe()
        self.answers, answers_out = os.pipe()

        def give_pipes():
            os.dup2(os.dup(commands_in), 3)
            os.dup2(os.dup(answers_out), 4)

        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--remote-debugging-pipe",
                 "--user-data-dir=" + str(profile), "--window-size=1500,950", "about:blank"]
        with open(WORK / "chromium.log", "wb") as log:
            self.process = subprocess.Popen([shutil.which("chromium") or "chromium", *flags], stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=log, preexec_fn=give_pipes,
                                            pass_fds=(3, 4))
        os.close(commands_in)
        os.close(answers_out)
        self.buffer, self.events, self.next_id, self.session = b"", [], 0, None

    def close(self):
        self.process.kill()
        self.process.wait()
        os.close(self.commands)
        os.close(self.answers)

    def read_message(self):
        while b"\0" not in self.buffer:
            ready, _, _ = select.select([self.answers], [], [], 120)
            chunk = os.read(self.answers, 1 << 20) if ready else b""
            if not chunk:
                raise RuntimeError("Chromium stopped answering; see " + str(WORK / "chromium.log"))
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not method.startswith("Target."):
            message["sessionId"] = self.session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        while True:
            answer = self.read_message()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError("%s: %s" % (method, answer["error"]))
                return answer["result"]
            self.events.append(answer)

    def wait_for(self, method):
        while not any(event.get("method") == method for event in self.events):
            self.events.append(self.read_message())

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(result["exceptionDetails"])
        return result["result"].get("value")

    def open(self, url, script=True):
        target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Network", "Log"):
            self.send(domain + ".enable")
        self.send("Emulation.setScriptExecutionDisabled", value=not script)
        self.send("Page.addScriptToEvaluateOnNewDocument", source="window.violations = [];"
                  "document.addEventListener('securitypolicyviolation', e => violations.push(e.violatedDirective));")
        self.events = []
        self.send("Page.navigate", url=url)
        self.wait_for("Page.loadEventFired")


def expected_texts(dump):
    """Each tileset's name and non-empty slots, from the dump: the texts as the page shows them, quoted."""
    tilesets = []
    for line in dump.splitlines():
        if line.startswith("tileset "):
            tilesets.append({"name": None, "slots": {}})
        elif line.startswith("  name "):
            tilesets[-1]["name"] = line[len("  name "):]
        elif line.startswith("  slot "):
            k, text = line[len("  slot "):].split(" ", 1)
            tilesets[-1]["slots"][int(k)] = text
    return tilesets


def expected_hits(tilesets, query):
    """What the search finds: every name and slot text that holds the query, letter case aside."""
    hits = set()
    for i, tileset in enumerate(tilesets):
        fields = [("name", tileset["name"])] + [("slot %d" % k, text) for k, text in tileset["slots"].items()]
        hits |= {"tileset %d %s" % (i, label) for label, text in fields if query.lower() in text[1:-1].lower()}
    return hits


class TableViewInBrowser(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        shutil.rmtree(WORK, ignore_errors=True)
        WORK.mkdir(parents=True)
        self.case = CASES[CASE]
        self.case["files"]()
        self.browser = Browser(WORK / "profile")
        self.addCleanup(self.browser.close)

    def view(self):
        """Writes the page; a piped base is read from standard input, as from `git show REV:FILE`."""
        case, options = self.case, (["--code-page", self.case["page"]] if self.case["page"] else [])
        if case.get("piped"):
            with open(WORK / case["base"], "rb") as base:
                tool("view", *options, "--base", "-", case["file"], "-o", "page.html", stdin=base)
        else:
            tool("view", *options, *(["--base", case["base"]] if case["base"] else []), case["file"], "-o", "page.html")
        return options

    def test_page(self):
        options = self.view()
        case, browser = self.case, self.browser
        tilesets = expected_texts(tool("dump", *options, case["file"]))
        diff = tool("diff", *options, case["base"], case["file"], code=(0, 1)).splitlines() if case["base"] else []
        check = tool("check", case["file"], code=(0, 1)).splitlines()
        url = (WORK / "page.html").as_uri()
        browser.open(url)
        first_view = browser.evaluate(FIRST_VIEW)
        page = browser.evaluate(READ_PAGE)

        shown = max(len(tilesets), len(expected_texts(tool("dump", case["base"])))) if case["base"] else len(tilesets)
        self.assertEqual(len(page["sections"]), shown)
        self.assertEqual(page["rowsShown"], list(range(shown)))
        for tileset, section in zip(tilesets, page["sections"]):
            self.assertEqual(section["name"], tileset["name"])
            self.assertEqual({k: text for k, text, _ in section["slots"] if k in tileset["slots"]}, tileset["slots"])
        changes = [line for line in diff if not line.startswith("tilesets: ")]
        self.assertEqual(page["changes"], changes)
        self.assertEqual(page["overview"], [line.split(":")[0] for line in changes])
        self.assertEqual(bool(page["count"]), len(diff) != len(changes))
        self.assertEqual(page["problems"], check)
        self.assertEqual(page["title"], case["file"])
        self.assertEqual((page["images"], page["scripts"]), (0, 2))

        timings = []
        for query in case["queries"]:
            browser.evaluate("document.getElementById('q').value = ''; document.getElementById('q').focus()")
            browser.send("Input.insertText", text=query)
            found = browser.evaluate(READ_PAGE)
            hits = expected_hits(tilesets, query)
            self.assertEqual(set(found["marked"]), hits, query)
            self.assertEqual(found["results"], min(len(hits), 100), query)
            self.assertTrue(found["found"].startswith("%d text" % len(hits)), (query, found["found"]))
            self.assertEqual(found["rowsShown"], sorted({int(hit.split()[1]) for hit in hits}), query)
            timings += [browser.evaluate(TIMED_KEYSTROKE % json.dumps(query[:n])) for n in range(1, len(query) + 1)]
        browser.evaluate(TIMED_KEYSTROKE % '""')

        if case["base"]:
            browser.evaluate("document.getElementById('only').click()")
            only = browser.evaluate(READ_PAGE)
            self.assertEqual(only["rowsShown"], sorted({int(line.split()[1]) for line in changes}))
            chosen = [section for section in only["sections"] if section["shown"]]
            self.assertEqual(len(chosen), 1)
            self.assertTrue(all(not row_shown or "tileset %d slot %d" % (only["sections"].index(chosen[0]), k)
                                in page["overview"] for k, _, row_shown in chosen[0]["slots"]))
            browser.evaluate("document.getElementById('only').click()")
        if SCREENSHOT:
            bottom = browser.evaluate("Math.max(...[...document.querySelectorAll('#overview, main')].map("
                                      "e => e.getBoundingClientRect().bottom)) + 12")
            clip = {"x": 0, "y": 0, "width": 1500, "height": min(bottom, 950), "scale": 1}
            pathlib.Path(SCREENSHOT).write_bytes(base64.b64decode(
                browser.send("Page.captureScreenshot", format="png", clip=clip)["data"]))

        browser.evaluate(TIMED_KEYSTROKE % '""')
        last = len(tilesets) - 1
        slot = min(tilesets[last]["slots"], default=0)
        browser.evaluate("document.querySelectorAll('#overview .row')[%d].scrollIntoView()" % last)
        box = browser.evaluate("(() => { const r = document.querySelectorAll('#overview .row')[%d].lastChild"
                               ".getBoundingClientRect(); return [r.x + 6 * %d + 2, r.y + 3]; })()" % (last, slot))
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            browser.send("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1], button="left", clickCount=1)
        clicked = browser.evaluate(READ_PAGE)
        self.assertEqual([k for k, section in enumerate(clicked["sections"]) if section["shown"]], [last])
        self.assertEqual(clicked["here"], [slot] if tilesets[last]["slots"] else [])

        self.assertEqual([e["params"]["request"]["url"] for e in browser.events
                          if e.get("method") == "Network.requestWillBeSent"], [url])
        self.assertEqual([e["params"] for e in browser.events if e.get("method") in (
            "Runtime.exceptionThrown", "Page.javascriptDialogOpening")], [])
        self.assertEqual([e["params"]["entry"]["text"] for e in browser.events if e.get("method") == "Log.entryAdded"
                          and e["params"]["entry"]["level"] == "error"], [])
        self.assertEqual(browser.evaluate("window.violations"), [])

        browser.open(url, script=False)
        plain = browser.evaluate(READ_PAGE)
        self.assertTrue(all(section["shown"] for section in plain["sections"]))
        self.assertTrue(all(row_shown for section in plain["sections"] for _, _, row_shown in section["slots"]))
        self.assertEqual((plain["changes"], plain["rowsShown"]), (changes, []))

        views = [first_view]
        for _ in range(2):
            browser.open(url)
            views.append(browser.evaluate(FIRST_VIEW))
        print("%s: page %d bytes; first view after %.0f ms (median of 3, slowest %.0f ms)" % (
            CASE, (WORK / "page.html").stat().st_size, statistics.median(views), max(views)))
        frames = [frame for _, frame in timings]
        print("  search keystroke to the next frame: median %.0f ms, slowest %.0f ms, of %d keystrokes; "
              "the search itself: median %.1f ms" % (statistics.median(frames), max(frames), len(frames),
                                                    statistics.median(handled for handled, _ in timings)))


unittest.main(argv=[sys.argv[0], "TableViewInBrowser.test_page"])
