#!/usr/bin/env python3
"""Checks the export's promise against real YAML readers.

cofferon-export on any project file either writes a menu file that the
readers load to exactly the stored values (prices as numbers), or exits 1
naming the slot and key (or the menu setting) whose value it cannot write, and
writes nothing. This script makes a corpus of random projects with the
generator, exports each in UTF-8 and in GB2312, loads every written file with
the readers and compares what they load with what the generator expects.

A mismatch on a value that the project file itself does not keep (the
generator lists those under "losses") is reported as a project-file fault;
every other one as an export fault. Either fails the run.
"""

import argparse
import concurrent.futures
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

ENCODINGS = ("utf-8", "gb2312")


# Characters a YAML reader rejects or changes inside a quoted scalar; the
# writer has to refuse them.
def is_unsafe(c):
    o = ord(c)
    return (o < 0x20 and c != "\t") or 0x7F <= o <= 0x9F or c in "\u2028\u2029\ufffe\uffff"


NUMBER_RULES = {
    "PRICE": re.compile(r"-?[0-9]+(\.[0-9]+)?"),
    "POINTS": re.compile(r"-?[0-9]+"),
    "LEVELS": re.compile(r"-?[0-9]+"),
}
INTEGER = re.compile(r"-?[0-9]+")

# The project fields behind each key of the menu file.
SLOT_FIELDS = {
    "ID": ("id",), "DATA-VALUE": ("id",), "POSITION-X": (), "POSITION-Y": (), "NAME": ("name",),
    "LORE": ("lore",), "COMMAND": ("command",), "PRICE": ("money",), "POINTS": ("point",),
    "LEVELS": ("exp",), "REQUIRED-ITEM": ("item", "amount"), "KEEP-OPEN": ("keepOpen",),
    "PERMISSION": ("permission",), "VIEW-PERMISSION": ("viewPermission",),
    "ENCHANTMENT": ("enchants",), "COLOR": ("color", "id"), "SKULL-OWNER": ("head", "id"),
}
SETTING_FIELDS = {"name": ("title",), "rows": (), "command": ("menuCommand",), "open-with-item": ("openItem",),
                  "id": ("openItem",), "left-click": ("openItem",), "right-click": ("openItem",)}
REFUSAL_AT_SLOT = re.compile(r"第 (\d+) 格的(.*?)(?: 第 (\d+) 行)?\(([A-Za-z-]+)\)")
# How a refusal names a menu setting: the box, then the key.
REFUSAL_AT_SETTING = re.compile(r"(菜单标题|菜单指令|物品ID)\(([a-z]+)\)")


class Problem:
    def __init__(self, project, encoding, reader, where, message, fields=()):
        self.project = project
        self.encoding = encoding
        self.reader = reader
        self.where = where  # (slot or 0 for the menu settings, key path)
        self.message = message
        self.fields = fields  # project fields behind the key
        self.category = "export"


def show(value):
    """A value as a reader-independent, escaped text."""
    if isinstance(value, dict) and len(value) == 1:
        kind, inner = next(iter(value.items()))
        if kind == "text":
            return "text %r" % inner
        if kind == "bytes":
            return "document bytes %s (no UTF-8 form)" % " ".join(inner[i:i + 2] for i in range(0, len(inner), 2))
        if kind in ("number", "int", "float"):
            return "%s %r" % (kind, inner)
        if kind == "map":
            return "map {%s}" % ", ".join("%s: %s" % (show(k), show(v)) for k, v in inner)
        return "%s %r" % (kind, inner)
    if isinstance(value, list):
        return "[%s]" % ", ".join(show(v) for v in value)
    if isinstance(value, dict):
        return "{%s}" % ", ".join("%s: %s" % (k, show(v)) for k, v in value.items())
    return repr(value)


def readable(text):
    """A message with its invisible characters escaped."""
    return "".join(c if c.isprintable() else repr(c)[1:-1] for c in text)


# ------------------------------------------------------------- expectation ---

LEAF_KINDS = ("text", "bytes", "number", "flag")


def is_leaf(expected):
    """A single expected value, as opposed to a map of keys."""
    return isinstance(expected, dict) and len(expected) == 1 and next(iter(expected)) in LEAF_KINDS


def text_of(expected):
    """The text a value stands for, or None when it has no text form."""
    if isinstance(expected, dict):
        if "text" in expected:
            return expected["text"]
        if "number" in expected:
            return expected["number"]
    return None


def why_unwritable(key, expected, encoding):
    """Why a reader could never load this value exactly from a file in this
    encoding, or None when it could (so the export must write it)."""
    values = expected if isinstance(expected, list) else [expected]
    for value in values:
        if isinstance(value, dict) and "bytes" in value:
            return "bytes without a character form"
        text = text_of(value)
        if text is None:
            continue
        if any(is_unsafe(c) for c in text):
            return "a control character"
        if encoding == "gb2312":
            try:
                text.encode("gbk")
            except UnicodeEncodeError:
                return "a character GBK cannot hold"
        if key in NUMBER_RULES and "number" in value and not NUMBER_RULES[key].fullmatch(text):
            return "not a number"
    return None


def compare(expected, loaded, path, report):
    """Reports every difference between what must be loaded and what was."""
    if isinstance(expected, list):
        if not isinstance(loaded, list):
            report(path, "expected a list %s, loaded %s" % (show(expected), show(loaded)))
            return
        if len(loaded) != len(expected):
            report(path, "expected %d entries %s, loaded %d: %s" % (len(expected), show(expected), len(loaded),
                                                                    show(loaded)))
            return
        for i, (e, l) in enumerate(zip(expected, loaded)):
            compare(e, l, path + [str(i + 1)], report)
        return
    kind, value = next(iter(expected.items())) if is_leaf(expected) else ("map", expected)
    if kind == "map":
        if not (isinstance(loaded, dict) and "map" in loaded):
            report(path, "expected a map, loaded %s" % show(loaded))
            return
        pairs = loaded["map"]
        found = {}
        for k, v in pairs:
            found[json.dumps(k, sort_keys=True)] = (k, v)
        for key, inner in expected.items():
            canonical = json.dumps(map_key(path, key), sort_keys=True)
            if canonical not in found:
                report(path + [key], "missing; expected %s" % show(inner))
                continue
            compare(inner, found.pop(canonical)[1], path + [key], report)
        for k, v in found.values():
            plain = isinstance(k, dict) and ("text" in k or "int" in k)
            report(path + [k.get("text", k.get("int")) if plain else show(k)], "not expected, loaded %s" % show(v))
        return
    if kind == "bytes":
        report(path, "%s was written and loaded as %s" % (show(expected), show(loaded)))
    elif kind == "text":
        if loaded != {"text": value}:
            report(path, "expected %s, loaded %s" % (show(expected), show(loaded)))
    elif kind == "number":
        if not NUMBER_RULES["PRICE"].fullmatch(value):
            report(path, "%r is not a number, yet the file was written and loads as %s" % (value,
                                                                                         show(loaded)))
        elif INTEGER.fullmatch(value):
            if loaded != {"int": str(int(value))}:
                report(path, "expected integer %s, loaded %s" % (value, show(loaded)))
        elif not (isinstance(loaded, dict) and "float" in loaded and float(loaded["float"]) == float(value)):
            report(path, "expected number %s, loaded %s" % (value, show(loaded)))
    elif kind == "flag":
        if loaded != {"flag": value}:
            report(path, "expected %s, loaded %s" % (show(expected), show(loaded)))
    else:
        raise ValueError("unknown expectation " + kind)


def map_key(path, key):
    # Slot blocks are keyed by their number; everything else by a text.
    if not path and key.isdigit():
        return {"int": key}
    return {"text": key}


def fields_of(path):
    """(slot, project fields) behind a key path of the menu file."""
    if not path:
        return 0, ()
    if path[0] == "menu-setting":
        return 0, SETTING_FIELDS.get(path[1], ()) if len(path) > 1 else ()
    slot = int(path[0]) if path[0].isdigit() else 0
    return slot, (SLOT_FIELDS.get(path[1], ()) if len(path) > 1 else ("id",))


# ----------------------------------------------------------------- readers ---

def canonical(value):
    """A loaded Python value in the form SnakeYamlDump prints."""
    if value is None:
        return {"null": True}
    if isinstance(value, bool):
        return {"flag": value}
    if isinstance(value, int):
        return {"int": str(value)}
    if isinstance(value, float):
        return {"float": repr(value)}
    if isinstance(value, str):
        return {"text": value}
    if isinstance(value, list):
        return [canonical(v) for v in value]
    if isinstance(value, dict):
        return {"map": [[canonical(k), canonical(v)] for k, v in value.items()]}
    return {"other": "%s %r" % (type(value).__name__, value)}


def python_readers():
    import yaml
    readers = {"PyYAML": lambda text: yaml.safe_load(text)}
    if getattr(yaml, "__with_libyaml__", False):
        readers["PyYAML+libyaml"] = lambda text: yaml.load(text, Loader=yaml.CSafeLoader)
    return readers


def snakeyaml_load(files, java, jar, dump_source):
    """{file: ("OK", canonical) or ("ERROR", message)}, one JVM for all."""
    if not files:
        return {}
    result = subprocess.run([java, "-cp", jar, dump_source], input="\n".join(files) + "\n", capture_output=True,
                            text=True, encoding="ascii")
    lines = result.stdout.splitlines()
    if result.returncode != 0 or len(lines) != len(files):
        raise RuntimeError("SnakeYamlDump failed (%d): %s" % (result.returncode, result.stderr[-2000:]))
    loaded = {}
    for file, line in zip(files, lines):
        status, _, payload = line.partition(" ")
        loaded[file] = (status, json.loads(payload))
    return loaded


# ------------------------------------------------------------------ checks ---

def export(program, project, output, encoding):
    result = subprocess.run([program, project, "-o", output, "--encoding", encoding], capture_output=True)
    return result.returncode, result.stdout, result.stderr.decode("utf-8", "replace")


def check_refusal(case, encoding, stdout, stderr, output, problems):
    """A refusal must name a value that no file in this encoding can hold."""
    name, menu = case["project"], case["menu"]

    def problem(where, message, fields=()):
        problems.append(Problem(name, encoding, "export", where, message, fields))

    if os.path.exists(output):
        problem((0, ""), "exit 1, yet %s was written" % os.path.basename(output))
    if stdout:
        problem((0, ""), "exit 1, yet %d bytes went to standard output" % len(stdout))
    first = stderr.split("\n", 1)[0]
    wanted = {"title": "需要菜单标题", "open-item": "无效的物品ID"}.get(case["refusal"])
    if wanted:
        if not first.startswith(wanted):
            problem((0, "refusal"), "expected the refusal %s, got %s" % (wanted, readable(first)),
                    ("title", "openItem"))
        return
    for refusal, fields in (("需要菜单标题", ("title",)), ("无效的物品ID", ("openItem",))):
        if first.startswith(refusal):
            problem((0, "refusal"), "refused with %s although the menu setting is set and valid" % refusal, fields)
            return

    slot_match = REFUSAL_AT_SLOT.search(first)
    setting_match = REFUSAL_AT_SETTING.search(first)
    if slot_match and (not setting_match or slot_match.start() <= setting_match.start()):
        slot, line, key = slot_match.group(1), slot_match.group(3), slot_match.group(4)
        block = menu.get(slot)
        path = [slot, key]
        if block is None:
            problem((int(slot), key), "refusal names slot %s, which the export does not write: %s" % (slot, first))
            return
        expected = block.get(key)
        if expected is not None and line is not None:
            index = int(line) - 1
            expected = expected[index] if isinstance(expected, list) and index < len(expected) else None
            path.append(line)
    elif setting_match:
        key = setting_match.group(2)
        path = ["menu-setting", key]
        expected = menu["menu-setting"].get(key)
        if key == "id":
            expected = menu["menu-setting"].get("open-with-item", {}).get("id")
            path = ["menu-setting", "open-with-item", "id"]
    else:
        problem((0, ""), "exit 1 without naming a slot and key or a menu setting: %s" % readable(first))
        return

    slot, fields = fields_of(path)
    where = (slot, "/".join(path[1:]))
    if expected is None:
        problem(where, "refusal names a value the export does not write: %s" % first, fields)
    elif why_unwritable(path[1] if slot else path[-1], expected, encoding) is None:
        problem(where, "refused %s, which a reader loads exactly: %s" % (show(expected), first), fields)


def unreadable_value(menu, encoding):
    """The first expected value that a file in this encoding cannot hold."""
    def walk(node, path):
        if isinstance(node, dict) and not is_leaf(node):
            for key, inner in node.items():
                found = walk(inner, path + [key])
                if found:
                    return found
            return None
        why = why_unwritable(path[-1] if path else "", node, encoding)
        return (path, node, why) if why else None
    return walk(menu, [])


def check_written(case, encoding, data, loaders, problems):
    """Loads one written file with each reader and compares."""
    name, menu = case["project"], case["menu"]
    if case["refusal"]:
        problems.append(Problem(name, encoding, "export", (0, "refusal"),
                                "expected the refusal for the %s, yet the file was written" % case["refusal"],
                                ("title", "openItem")))
        return
    if data.startswith(b"\xef\xbb\xbf"):
        problems.append(Problem(name, encoding, "export", (0, ""), "the file starts with a byte-order mark"))
    codec = "utf-8" if encoding == "utf-8" else "gbk"
    try:
        text = data.decode(codec)
    except UnicodeDecodeError as error:
        culprit = unreadable_value(menu, encoding)
        where, fields, what = (0, ""), (), ""
        if culprit:
            path, value, why = culprit
            slot, fields = fields_of(path)
            where = (slot, "/".join(path[1:]))
            what = "; the value %s holds %s" % (show(value), why)
        problems.append(Problem(name, encoding, "export", where, "the file is not valid %s: bytes %s at offset %d%s"
                                % (codec.upper(), data[error.start:error.end + 3].hex(" "), error.start, what),
                                fields))
        return

    for reader, load in loaders.items():
        try:
            result = ("OK", canonical(load(text)))
        except Exception as error:  # the reader's own refusal is the finding
            result = ("ERROR", "%s: %s" % (type(error).__name__, error))
        check_loaded(case, encoding, reader, result, problems)


def check_loaded(case, encoding, reader, result, problems):
    """Compares what one reader loaded, or why it could not, with the expectation."""
    status, loaded = result
    name, menu = case["project"], case["menu"]
    if status != "OK":
        culprit = unreadable_value(menu, encoding)
        problems.append(Problem(name, encoding, reader, (0, ""), "the reader rejects the file: %s%s" % (
            readable(str(loaded))[:300], "; suspect %s" % show(culprit[1]) if culprit else "")))
        return

    def report(path, message):
        slot, fields = fields_of(path)
        problems.append(Problem(name, encoding, reader, (slot, "/".join(path[1:])), message, fields))
    compare(menu, loaded, [], report)


def classify(problems, cases):
    """Marks the problems that come from a value the project file loses."""
    for problem in problems:
        losses = cases[problem.project]["losses"]
        slot = problem.where[0]
        lost = {loss["field"] for loss in losses if loss["slot"] == slot}
        if lost & set(problem.fields):
            problem.category = "project file"
            problem.message += "  [the project file gives back %s]" % "; ".join(
                "%s: %s -> %s" % (loss["field"], show(loss["intended"]), show(loss["stored"]))
                for loss in losses if loss["slot"] == slot and loss["field"] in problem.fields)


def main():
    sys.stdout.reconfigure(errors="backslashreplace")
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--generator", required=True, help="the built menu_corpus program")
    parser.add_argument("--export", required=True, help="the built cofferon-export program")
    parser.add_argument("--import", dest="import_program",
                        help="the built cofferon-import program: every written menu must come back byte for byte")
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--kept-only", action="store_true",
                        help="only values the project file keeps: checks the export alone")
    parser.add_argument("--readers", default="pyyaml", help="pyyaml, snakeyaml or both, comma-separated")
    parser.add_argument("--encodings", default=",".join(ENCODINGS), help="utf-8, gb2312 or both, comma-separated")
    parser.add_argument("--java", default="java")
    parser.add_argument("--snakeyaml-jar", default="/usr/share/java/snakeyaml.jar")
    parser.add_argument("--keep", help="keep the corpus and the menu files in this folder")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--show", type=int, default=40, help="problems listed in full per category")
    args = parser.parse_args()
    readers = {r.strip() for r in args.readers.split(",") if r.strip()}

    work = args.keep or tempfile.mkdtemp(prefix="menu-readers-")
    try:
        return run(args, readers, work)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


def run(args, readers, work):
    corpus = os.path.join(work, "corpus")
    outputs = os.path.join(work, "menus")
    os.makedirs(outputs, exist_ok=True)
    subprocess.run([args.generator, corpus, "--count", str(args.count), "--seed", str(args.seed)]
                   + (["--kept-only"] if args.kept_only else []), check=True)

    cases = {}
    for entry in sorted(os.listdir(corpus)):
        if entry.endswith(".json"):
            with open(os.path.join(corpus, entry), encoding="utf-8") as file:
                case = json.load(file)
            cases[case["project"]] = case

    encodings = [e for e in ENCODINGS if e in args.encodings.split(",")]
    jobs = [(case, encoding) for case in cases.values() for encoding in encodings]

    def run_one(job):
        case, encoding = job
        output = os.path.join(outputs, "%s.%s.yml" % (case["project"][:-4], encoding))
        return job, output, export(args.export, os.path.join(corpus, case["project"]), output, encoding)

    with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
        results = list(pool.map(run_one, jobs))

    loaders = python_readers() if "pyyaml" in readers else {}
    problems = []
    counts = {}
    written = []
    for (case, encoding), output, (code, stdout, stderr) in results:
        counts[(encoding, code)] = counts.get((encoding, code), 0) + 1
        if code == 1:
            check_refusal(case, encoding, stdout, stderr, output, problems)
        elif code == 0:
            if stdout:
                problems.append(Problem(case["project"], encoding, "export", (0, ""),
                                        "%d bytes went to standard output with -o" % len(stdout)))
            with open(output, "rb") as file:
                data = file.read()
            check_written(case, encoding, data, loaders, problems)
            if encoding == "utf-8":
                written.append((case, output, data))
        else:
            problems.append(Problem(case["project"], encoding, "export", (0, ""),
                                    "exit %d: %s" % (code, readable(stderr[:300]))))

    if "snakeyaml" in readers:
        loadable = []
        for case, output, data in written:
            if case["refusal"]:
                continue  # reported already: the file should not exist
            try:
                data.decode("utf-8")
                loadable.append((case, output))
            except UnicodeDecodeError:
                pass  # already reported as not valid UTF-8
        dump = os.path.join(os.path.dirname(os.path.abspath(__file__)), "SnakeYamlDump.java")
        snake = snakeyaml_load([output for _, output in loadable], args.java, args.snakeyaml_jar, dump)
        for case, output in loadable:
            check_loaded(case, "utf-8", "SnakeYAML", snake[output], problems)

    if args.import_program:
        check_reimport(args, work, [(case, encoding, output) for (case, encoding), output, (code, _, _) in results
                                    if code == 0], problems)

    expected_files = {os.path.basename(output) for (case, encoding), output, (code, _, _) in results if code == 0}
    for stray in sorted(set(os.listdir(outputs)) - expected_files):
        problems.append(Problem(stray, "-", "export", (0, ""), "left behind in the output folder"))

    classify(problems, cases)
    return summarize(args, cases, counts, problems, readers)


def check_reimport(args, work, written, problems):
    """Every menu the export wrote, imported and exported again, is the same file."""
    again = os.path.join(work, "again")
    os.makedirs(again, exist_ok=True)

    def run_one(job):
        case, encoding, output = job
        stem = os.path.join(again, os.path.basename(output))
        imported = subprocess.run([args.import_program, output, "-o", stem + ".ini"], capture_output=True)
        # The one line allowed on standard error names the encoding read,
        # where the bytes read both ways: it must be the one written.
        read_as = "已按 %s 读取" % encoding.upper()
        messages = [line for line in imported.stderr.decode("utf-8", "replace").splitlines()
                    if read_as not in line]
        if imported.returncode != 0 or messages:
            return job, "import exit %d: %s" % (imported.returncode, readable("\n".join(messages)[:300]))
        code, _, stderr = export(args.export, stem + ".ini", stem, encoding)
        if code != 0:
            return job, "export of the import exit %d: %s" % (code, readable(stderr[:300]))
        with open(output, "rb") as first, open(stem, "rb") as second:
            if first.read() != second.read():
                return job, "imported and exported again, the file differs"
        return job, None

    with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
        for (case, encoding, _), message in pool.map(run_one, written):
            if message:
                problem = Problem(case["project"], encoding, "cofferon-import", (0, ""), message)
                problem.category = "import"
                problems.append(problem)
    shutil.rmtree(again, ignore_errors=True)


def summarize(args, cases, counts, problems, readers):
    print("menu readers: %d projects (seed %d), readers: %s" % (len(cases), args.seed, ", ".join(sorted(readers))))
    for encoding in sorted({e for e, _ in counts}, key=ENCODINGS.index):
        print("  %-6s export: %s" % (encoding, ", ".join("exit %d: %d" % (code, n) for (e, code), n
                                                             in sorted(counts.items()) if e == encoding)))
    print("  projects whose file does not keep every value: %d" % sum(1 for case in cases.values()
                                                                          if case["losses"]))
    # One line per finding, naming every encoding and reader that shows it.
    groups = {}
    for problem in problems:
        key = (problem.category, problem.project, problem.where, problem.message)
        groups.setdefault(key, []).append("%s %s" % (problem.encoding, problem.reader))
    for category in ("export", "project file", "import"):
        found = sorted((k, v) for k, v in groups.items() if k[0] == category)
        if not found:
            continue
        print("\n%d %s problem(s):" % (len(found), category))
        for (_, project, (slot, key), message), seen in found[:args.show]:
            place = ("menu settings " if slot == 0 else "slot %d " % slot) + key if key else "whole file"
            print("  %s %s [%s]: %s" % (project, place, ", ".join(seen), message))
        if len(found) > args.show:
            print("  ... and %d more" % (len(found) - args.show))
    print("\n%d exports checked, %d problem(s)" % (sum(counts.values()), len(groups)))
    return 1 if groups else 0


if __name__ == "__main__":
    sys.exit(main())
