#!/usr/bin/env python3
"""The manual in docs/manual/ has not rotted: every link and picture of its pages resolves (the
anchor too), every picture stays small, the search index is the one its pages give (so it lists
every page), and every message text that the troubleshooting page quotes is in the station's
source.

    tests/docs/manual_test.py SOURCE_DIR
"""
import html
import html.parser
import importlib.util
import pathlib
import re
import sys

MAX_PICTURE_BYTES = 100 * 1024


class Page(html.parser.HTMLParser):
    """The links, the anchors and the quoted messages (code class="msg") of one page."""

    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.links, self.ids, self.messages = [], set(), []
        self._message = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        for key in ("href", "src"):
            if a.get(key):
                self.links.append(a[key])
        if tag == "code" and a.get("class") == "msg":
            self._message = ""

    def handle_endtag(self, tag):
        if tag == "code" and self._message is not None:
            self.messages.append(html.unescape(self._message))
            self._message = None

    def handle_data(self, data):
        if self._message is not None:
            self._message += data

    def handle_entityref(self, name):
        self.handle_data(f"&{name};")

    def handle_charref(self, name):
        self.handle_data(f"&#{name};")


def read_pages(manual):
    pages = {}
    for path in sorted(manual.glob("*.html")):
        page = Page()
        page.feed(path.read_text("utf-8"))
        pages[path.name] = page
    return pages


def broken_links(manual, pages):
    problems = []
    for name, page in pages.items():
        for link in page.links:
            if re.match(r"[a-z]+:", link):
                continue  # an address outside the manual
            target, _, anchor = link.split("?")[0].partition("#")
            target = target or name
            path = manual / target
            if not path.is_file():
                problems.append(f"{name}: {link}: no file {target}")
            elif anchor and target in pages and anchor not in pages[target].ids:
                problems.append(f"{name}: {link}: no id {anchor} in {target}")
            elif path.suffix == ".png" and path.stat().st_size > MAX_PICTURE_BYTES:
                problems.append(f"{name}: {link}: {path.stat().st_size} bytes, over 100 KB")
    return problems


def stale_index(source):
    script = source / "scripts" / "make-manual-index.py"
    spec = importlib.util.spec_from_file_location("make_manual_index", script)
    maker = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(maker)
    index = source / "docs" / "manual" / "search-index.js"
    if not index.is_file() or index.read_text("utf-8") != maker.build():
        return [f"{index} is not what the pages give: run scripts/make-manual-index.py"]
    return []


def unknown_messages(source, page):
    code = "".join(p.read_text("latin-1") for p in sorted((source / "src").rglob("*"))
                   if p.suffix in (".cpp", ".h"))
    return [f"greske.html: message not in src/: {m!r}" for m in page.messages if m not in code]


def main():
    source = pathlib.Path(sys.argv[1]).resolve()
    manual = source / "docs" / "manual"
    pages = read_pages(manual)
    problems = broken_links(manual, pages) + stale_index(source)
    if "greske.html" not in pages or not pages["greske.html"].messages:
        problems.append("greske.html quotes no message")
    else:
        problems += unknown_messages(source, pages["greske.html"])
    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {sum(len(p.links) for p in pages.values())} links, "
          f"{len(pages.get('greske.html', Page()).messages)} messages checked; "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
