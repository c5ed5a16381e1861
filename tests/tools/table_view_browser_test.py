#!/usr/bin/env python3
"""Opens the page of `kestrivane-table view` in Debian's headless Chromium, driven through its DevTools protocol over
--remote-debugging-pipe, and checks what a modder sees: every tileset, the search, the fields that differ from the
base as `diff` lists them, the problems as `check` reports them, the page without its script, and no script error,
dialog or request. A run tests one case of CASES, named as its CTest test is, and prints the page's timings.

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
HOSTILE = ['<script>alert(1)</script>', '"><img src=x onerror=alert(2)>', "</script><script>alert(3)//", "<!--",
           "&amp; &lt;", "' onmouseover='alert(4)"]

# What the page shows, from the DOM: each section's name and lines as [slot, text, shown], the changed fields with
# old and new values as diff prints them, and the overview's cells by the legend's colour they are drawn in.
READ_PAGE = """(() => {
  const shown = e => getComputedStyle(e).display !== 'none' && e.offsetParent !== null;
  const legend = {};
  for (const item of document.querySelectorAll('#legend i')) legend[getComputedStyle(item).backgroundColor] = item.className;
  const lines = pre => [...(pre ? pre.childNodes : [])].flatMap(node => node.nodeType === Node.TEXT_NODE ?
    node.textContent.split('\\n').filter(l => l).map(l => [parseInt(l), l.replace(/^ *[0-9]+ /, ''), shown(pre)]) :
    [[parseInt(node.textContent), (node.querySelector('.v') || node).textContent.replace(/^ *[0-9]+ /, ''), shown(node)]]);
  const rows = [...document.querySelectorAll('#overview .row')];
  const marks = {c: [], m: []};
  rows.forEach((row, i) => {
    for (const [k, part] of [['name', row.children[1]], ['ambient', row.children[2]]]) {
      for (const kind of part.classList) if (kind in marks) marks[kind].push('tileset ' + i + ' ' + k);
    }
    const pixels = row.lastChild.getContext('2d').getImageData(0, 0, row.lastChild.width, 1).data;
    for (let k = 0; k < 151; k++) {
      const kind = legend['rgb(' + pixels.slice(24 * k + 4, 24 * k + 7).join(', ') + ')'];
      if (kind in marks) marks[kind].push('tileset ' + i + ' slot ' + k);
    }
  });
  const texts = selector => [...document.querySelectorAll(selector)].map(e => e.textContent);
  return {
    sections: [...document.querySelectorAll('main section')].map(s => ({
      name: s.querySelector('h2 .name').textContent, shown: shown(s), lines: lines(s.querySelector('pre'))})),
    changes: [...document.querySelectorAll('main [data-field]')].map(e => 'tileset ' + e.closest('section').dataset.tileset +
      ' ' + e.dataset.field + ': ' + e.querySelector('del').textContent + ' -> ' + e.querySelector('.v').textContent),
    changed: marks.c, marked: marks.m, rowsShown: rows.filter(shown).map(row => +row.dataset.tileset),
    results: texts('#results li').length, found: texts('#found').join(''), problems: texts('.problems li'),
    count: texts('.count').length, title: texts('h1')[0], here: texts('pre > .here').map(t => parseInt(t)),
    images: document.images.length, scripts: document.scripts.length, violations: window.violations || [],
  };
})()"""

# The time from a search's input event to the next frame, and to the end of its handler, by the page's own clock.
TIMED_SEARCH = """new Promise(done => {
  const box = document.getElementById('q'), start = performance.now();
  box.value = %s;
  box.dispatchEvent(new Event('input'));
  const handled = performance.now();
  requestAnimationFrame(() => setTimeout(() => done([handled - start, performance.now() - start])));
})"""
# The time from the start of the page's load to its first frame after the script ran.
FIRST_VIEW = "new Promise(done => requestAnimationFrame(() => setTimeout(() => done(performance.now()))))"


def tool(*args, stdin=None):
    result = subprocess.run([TOOL, *args], cwd=WORK, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert result.returncode in (0, 1), (args, result.returncode, result.stderr)
    return result.stdout.decode()


def build(name, tilesets):
    """Builds name from tilesets given as (name, ambient, {slot: text}), texts in the dump's notation."""
    lines = ["tilesets %d" % len(tilesets)]
    for i, (title, ambient, slots) in enumerate(tilesets):
        lines += ["tileset %d" % i, 'name "%s"' % title, "ambient %d" % ambient]
        lines += ['slot %d "%s"' % slot for slot in sorted(slots.items())]
    (WORK / (name + ".txt")).write_text("\n".join(lines) + "\n")
    tool("build", name + ".txt", "-o", name)


def demo_files():
    tool("demo", "base.dat")
    changed = tool("dump", "base.dat").replace('"dirt path"', '"gravel path"').replace("ambient 255", "ambient 7")
    changed = changed.replace('"chair"', '"bench"\n  slot 9 "lantern"').replace('  slot 0 "rock"\n', "")
    (WORK / "table.txt").write_text(changed.replace('name "Cave"', 'name "Crystal Cave"'))
    tool("build", "table.txt", "-o", "table.dat")


def largest_files():
    """255 tilesets of 151 full slots; the table has other texts in every tenth slot, other names in every
    seventeenth tileset and other ambient numbers in every twentieth."""
    for name, changed in (("base.dat", False), ("table.dat", True)):
        tilesets = []
        for i in range(255):
            title = ("Tileset %03d %s" % (i, WORDS[i % 12] + " lands" * 4))[:31]
            slots = {k: ("t%03d s%03d " % (i, k) + (WORDS[(i * 151 + k) % 12] + " ") * 4)[:29] + " \\xE9"
                     for k in range(151)}
            if changed:
                slots.update({k: "t%03d s%03d renamed" % (i, k) for k in range(i % 10, 151, 10)})
            tilesets.append((title.upper() if changed and i % 17 == 0 else title, i + (changed and i % 20 == 0), slots))
        build(name, tilesets)


def hostile_files():
    quoted = [text.replace("\\", "\\\\").replace('"', '\\"') for text in HOSTILE]
    build("base.dat", [(quoted[0], 1, dict(enumerate(quoted))), ("<b>gone</b>", 2, {0: "<i>"})])
    build("table.dat", [(quoted[1], 2, {k: text[::-1].replace('"\\', '\\"') for k, text in enumerate(quoted)})])
    with open(WORK / "table.dat", "ab") as table:
        table.write(b"<script>alert(5)</script>")
    (WORK / "table.dat").rename(WORK / "<i>table&amp;'.dat")


# Each case: how its files are made, the view's options (a piped base comes from standard input), and what is
# typed into the search.
CASES = {
    "Demo": dict(files=demo_files, file="table.dat", options=["--code-page", "1252", "--base", "base.dat"],
                 queries=["GRASS", "CAFÉ", "€", "ß", "xyz"]),
    "Largest": dict(files=largest_files, file="table.dat", options=["--base", "base.dat"],
                    queries=["w", "water", "t254 s150", "RENAMED", "\\xe9"]),
    "Hostile": dict(files=hostile_files, file="<i>table&amp;'.dat", options=["--base", "-"], piped="base.dat",
                    queries=["<script>", "alert(", "'"]),
}


class Browser:
    """Chromium over its DevTools pipe: commands into its fd 3, answers and events out of its fd 4, each ended by a
    NUL."""

    def __init__(self):
        commands_in, self.commands = os.pipe()
        self.answers, answers_out = os.pipe()
        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--remote-debugging-pipe", "--window-size=1500,950",
                 "--user-data-dir=" + str(WORK / "profile")]
        with open(WORK / "chromium.log", "wb") as log:
            self.process = subprocess.Popen(
                ["chromium", *flags], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=log, pass_fds=(3, 4),
                preexec_fn=lambda: (os.dup2(os.dup(commands_in), 3), os.dup2(os.dup(answers_out), 4)))
        os.close(commands_in), os.close(answers_out)
        self.buffer, self.events, self.next_id, self.session = b"", [], 0, None

    def close(self):
        self.process.kill()
        self.process.wait()
        os.close(self.commands), os.close(self.answers)

    def read(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.answers, 1 << 20) if select.select([self.answers], [], [], 120)[0] else b""
            if not chunk:
                raise RuntimeError("Chromium stopped answering; see " + str(WORK / "chromium.log"))
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, **params):
        self.next_id += 1
        session = {"sessionId": self.session} if self.session and not method.startswith("Target.") else {}
        os.write(self.commands, json.dumps({"id": self.next_id, "method": method, "params": params, **session})
                 .encode() + b"\0")
        while (answer := self.read()).get("id") != self.next_id:
            self.events.append(answer)
        if "error" in answer:
            raise RuntimeError("%s: %s" % (method, answer["error"]))
        return answer["result"]

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(result["exceptionDetails"])
        return result["result"].get("value")

    def open(self, url, script=True):
        """A new tab that logs what the page requests and every policy violation, then loads url."""
        target = self.send("Target.createTarget", url="about:blank")["targetId"]
        self.session = self.send("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Page", "Runtime", "Network", "Log"):
            self.send(domain + ".enable")
        self.send("Emulation.setScriptExecutionDisabled", value=not script)
        self.send("Page.addScriptToEvaluateOnNewDocument", source="window.violations = []; document.addEventListener("
                  "'securitypolicyviolation', e => violations.push(e.violatedDirective));")
        self.events = []
        self.send("Page.navigate", url=url)
        while not any(event.get("method") == "Page.loadEventFired" for event in self.events):
            self.events.append(self.read())

    def told(self, *methods):
        return [event["params"] for event in self.events if event.get("method") in methods]


def dumped(dump):
    """Each tileset of a dump as its quoted name and its fields, "tileset N slot K", with their quoted texts."""
    tilesets = []
    for kind, rest in re.findall(r"^ *(tileset|name|slot) (.*)$", dump, re.M):
        if kind == "tileset":
            tilesets.append({"name": None, "texts": {}})
        elif kind == "name":
            tilesets[-1]["name"] = rest
        else:
            tilesets[-1]["texts"]["tileset %d slot %s" % (len(tilesets) - 1, rest.split(" ")[0])] = rest.split(" ", 1)[1]
    return tilesets


class TableViewInBrowser(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        shutil.rmtree(WORK, ignore_errors=True)
        WORK.mkdir(parents=True)
        self.case = case = CASES[CASE]
        case["files"]()
        with open(WORK / case.get("piped", os.devnull), "rb") as piped:
            tool("view", *case["options"], case["file"], "-o", "page.html", stdin=piped)
        self.browser = Browser()
        self.addCleanup(self.browser.close)

    def search(self, query, tilesets):
        """Types the query and checks the marks, the list and the count, and that only tilesets with a find show."""
        self.browser.evaluate("document.getElementById('q').value = ''; document.getElementById('q').focus()")
        self.browser.send("Input.insertText", text=query)
        page = self.browser.evaluate(READ_PAGE)
        hits = [field for i, tileset in enumerate(tilesets) for field, text in
                [("tileset %d name" % i, tileset["name"]), *tileset["texts"].items()] if query.lower() in text.lower()]
        self.assertEqual((sorted(page["marked"]), page["results"]), (sorted(hits), min(len(hits), 100)), query)
        self.assertTrue(page["found"].startswith("%d text" % len(hits)), (query, page["found"]))
        self.assertEqual(page["rowsShown"], sorted({int(hit.split()[1]) for hit in hits}), query)

    def test_page(self):
        case, browser, url = self.case, self.browser, (WORK / "page.html").as_uri()
        options = dict(zip(case["options"][::2], case["options"][1::2]))
        code_page = ["--code-page", options["--code-page"]] if "--code-page" in options else []
        tilesets = dumped(tool("dump", *code_page, case["file"]))
        base = WORK / case.get("piped", options["--base"]) if "--base" in options else None
        diff = tool("diff", *code_page, str(base), case["file"]).splitlines() if base else []
        changes = [line for line in diff if not line.startswith("tilesets: ")]
        shown = max(len(tilesets), len(dumped(tool("dump", str(base)))) if base else 0)
        browser.open(url)
        views = [browser.evaluate(FIRST_VIEW)]
        page = browser.evaluate(READ_PAGE)
        self.assertEqual((len(page["sections"]), page["rowsShown"]), (shown, list(range(shown))))
        for i, (tileset, section) in enumerate(zip(tilesets, page["sections"])):
            self.assertEqual(section["name"], tileset["name"])
            texts = {"tileset %d slot %d" % (i, k): text for k, text, _ in section["lines"]}
            self.assertEqual({field: texts[field] for field in tileset["texts"]}, tileset["texts"])
        self.assertEqual((page["changes"], page["changed"]), (changes, [line.split(":")[0] for line in changes]))
        self.assertEqual((page["count"], page["title"]), (len(diff) - len(changes), case["file"]))
        self.assertEqual(page["problems"], tool("check", case["file"]).splitlines())
        self.assertEqual((page["images"], page["scripts"]), (0, 2))

        for query in case["queries"]:
            self.search(query, tilesets)
        timings = [browser.evaluate(TIMED_SEARCH % json.dumps(query[:n]))
                   for query in case["queries"] for n in range(1, len(query) + 1)]
        browser.evaluate(TIMED_SEARCH % '""')
        if base:
            browser.evaluate("document.getElementById('only').click()")
            only = browser.evaluate(READ_PAGE)
            self.assertEqual(only["rowsShown"], sorted({int(line.split()[1]) for line in changes}))
            i, section = next((i, s) for i, s in enumerate(only["sections"]) if s["shown"])
            self.assertEqual(["tileset %d slot %d" % (i, line[0]) for line in section["lines"] if line[2]],
                             [field for field in only["changed"] if field.startswith("tileset %d slot" % i)])
            browser.evaluate("document.getElementById('only').click()")
        if SCREENSHOT:
            bottom = browser.evaluate("Math.max(...[...document.querySelectorAll('#overview, main')]"
                                      ".map(e => e.getBoundingClientRect().bottom)) + 12")
            pathlib.Path(SCREENSHOT).write_bytes(base64.b64decode(browser.send(
                "Page.captureScreenshot", clip={"x": 0, "y": 0, "width": 1500, "height": min(bottom, 950), "scale": 1})
                ["data"]))

        last = len(tilesets) - 1
        slot = min([int(field.split()[3]) for field in tilesets[last]["texts"]], default=0)
        x, y = browser.evaluate("(() => { const row = document.querySelectorAll('#overview .row')[%d]; "
                                "row.scrollIntoView(); const r = row.lastChild.getBoundingClientRect(); "
                                "return [r.x + 6 * %d + 2, r.y + 3]; })()" % (last, slot))
        for kind in ("mouseMoved", "mousePressed", "mouseReleased"):
            browser.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)
        clicked = browser.evaluate(READ_PAGE)
        self.assertEqual([i for i, section in enumerate(clicked["sections"]) if section["shown"]], [last])
        self.assertEqual(clicked["here"], [slot] if tilesets[last]["texts"] else [])

        self.assertEqual([told["request"]["url"] for told in browser.told("Network.requestWillBeSent")], [url])
        self.assertEqual(browser.told("Runtime.exceptionThrown", "Page.javascriptDialogOpening"), [])
        self.assertEqual([e["entry"] for e in browser.told("Log.entryAdded") if e["entry"]["level"] == "error"], [])
        self.assertEqual(browser.evaluate("window.violations"), [])

        browser.open(url, script=False)
        plain = browser.evaluate(READ_PAGE)
        self.assertTrue(all(section["shown"] and all(line[2] for line in section["lines"])
                            for section in plain["sections"]))
        self.assertEqual((plain["changes"], plain["rowsShown"]), (changes, []))

        for _ in range(2):
            browser.open(url)
            views.append(browser.evaluate(FIRST_VIEW))
        frames, searches = [frame for _, frame in timings], [handled for handled, _ in timings]
        print("%s: page %d bytes; first view after %.0f ms (median of 3, slowest %.0f); a search keystroke to the next "
              "frame %.0f ms (median of %d, slowest %.0f), the search itself %.1f ms" % (
                  CASE, (WORK / "page.html").stat().st_size, statistics.median(views), max(views),
                  statistics.median(frames), len(frames), max(frames), statistics.median(searches)))


unittest.main(argv=[sys.argv[0], "TableViewInBrowser.test_page"])
