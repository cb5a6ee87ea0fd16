#!/usr/bin/env python3
"""Checks that what the documents name exists: every relative link (and its
#anchor), every file of the repository, every `make` target, every program
started in a shell block, every test named as Suite::case or Suite.Case.
Prints DOCUMENT:LINE: what is missing, one line each; fails on any.

Usage: doc_references_test.py SOURCE_DIR BUILD_DIR [DOCUMENT...]
"""
import glob
import os
import re
import shlex
import shutil
import sys

SOURCE, BUILD = sys.argv[1], sys.argv[2]
DOCUMENTS = sys.argv[3:] or ["README.md", "CONTRIBUTING.md"] + sorted(
    os.path.relpath(p, SOURCE) for p in glob.glob(os.path.join(SOURCE, "docs", "*.md")))

FILE_NAME = re.compile(r"^[\w.*+-]+\.(cpp|h|in|sh|py|md|json|jsonl|txt|html|hhp|hhc|hhk|css|png|svg|"
                       r"jpg|gif|ico|desktop|xml|cmake|supp|flags|qrc|chm|deb|1)$")
PLACEHOLDER = re.compile(r"[A-Z][A-Z_]+(?![a-z])")  # NAME, FILE, PREFIX in a path
TEST_NAME = re.compile(r"^([A-Z]\w+Test)(::[a-z]\w*)$|^([A-Z]\w+)(\.[A-Z]\w*)$")
CTEST_NAME = re.compile(r"^[A-Z]\w+(Test|Check|Corpus)$")
SHELL_WORDS = {"cd", "export", "set", "source", ".", "exit", "for", "do", "done", "if", "then", "fi"}


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


def sources(*patterns):
    """The repository's files matching the patterns, outside its build folders."""
    for pattern in patterns:
        for path in glob.glob(os.path.join(SOURCE, pattern), recursive=True):
            if not os.path.relpath(path, SOURCE).startswith("build"):
                yield path


TOP_LEVEL = set(os.listdir(SOURCE)) - {".git"}
BASENAMES = {os.path.basename(p) for p in sources("**/*")}
CMAKE = "\n".join(read(p) for p in sources("**/CMakeLists.txt"))
PROGRAMS = set(re.findall(r"add_executable\((\S+)", CMAKE))
PROGRAMS |= {f"mensura_fuzz_{n}" for n in re.findall(r"mensura_fuzz_target\((\w+)", CMAKE)}
CTESTS = set(re.findall(r"\b([A-Z]\w+)\b", CMAKE))
MAKE_TARGETS = set(re.findall(r"^([\w-]+):", read(os.path.join(SOURCE, "Makefile")), re.M))
INSTALL_DEPS = read(os.path.join(SOURCE, "scripts", "install-deps"))
TEST_SOURCES = "\n".join(read(p) for p in sources("tests/**/*.cpp", "fuzz/*.cpp"))


def heading_anchors(path):
    anchors = set()
    for line in read(path).splitlines():
        m = re.match(r"#+\s+(.*)", line)
        if m:
            text = re.sub(r"[`*_]", "", m.group(1)).strip().lower()
            anchors.add(re.sub(r"[^\w\- ]", "", text).replace(" ", "-"))
    return anchors


def path_missing(word):
    """What is missing of a path named in a document, or None."""
    word = word.rstrip(".,:;)")
    first = word.split("/")[0]
    if "/" not in word:
        if not FILE_NAME.match(word) or "*" in word or PLACEHOLDER.search(word):
            return None
        found = word in BASENAMES or glob.glob(os.path.join(BUILD, "**", word), recursive=True)
        return None if found else f"no file named {word} in the repository or the build"
    if first not in TOP_LEVEL and not re.match(r"build(-\w+)?$", first):
        return None  # an installed place (bin/, share/mensura/) or not a path
    if re.match(r"build(-\w+)?$", first):
        m = re.match(r"build(-\w+)?/bin/([\w.-]+)$", word)
        if m and not PLACEHOLDER.search(m.group(2)) and m.group(2) not in PROGRAMS | {"MnsHlp.chm"}:
            return f"no program {m.group(2)} is built (as {word} names)"
        return None
    pattern = PLACEHOLDER.sub("*", word)
    return None if glob.glob(os.path.join(SOURCE, pattern)) else f"no {word}"


def command_missing(words, strict):
    """What is missing of a command line's first program, or None. Unknown bare
    names count only in shell blocks (strict): inline, they may be prose."""
    while words and (re.match(r"^\w+=", words[0]) or words[0] in {"sudo", "env", "time"}):
        words = words[1:]
    if not words:
        return None
    program = words[0]
    if program == "make":
        targets = [w for w in words[1:] if not w.startswith("-") and "=" not in w]
        for target in targets:
            if target not in MAKE_TARGETS:
                return f"no make target {target}"
        return None
    if "/" in program:
        return path_missing(program)
    known = (shutil.which(program) or program in PROGRAMS or program in SHELL_WORDS
             or re.search(rf"(^|\s){re.escape(program)}\b", INSTALL_DEPS, re.M))
    if known:
        return None
    if strict or program.startswith(("mensura-", "mensura_")):
        return f"no command {program} (not installed, built or in scripts/install-deps)"
    return None


def command_lines(text):
    """The commands of one shell line: split at pipes and lists."""
    try:
        words = shlex.split(text, comments=True)
    except ValueError:
        words = text.split()
    line = []
    for word in words + ["|"]:
        if word in {"|", "||", "&&", ";", "&"}:
            if line:
                yield line
            line = []
        else:
            line.append(word)


def shell_commands(block):
    """(line number, command) of a shell block: lines after a "$ " prompt when
    it has any (the others are output), joined where they end in a backslash."""
    prompted = any(line.startswith("$ ") for _, line in block)
    pending, start = "", None
    for number, line in block:
        if prompted and not pending:
            if not line.startswith("$ "):
                continue
            line = line[2:]
        if not pending:
            start = number
        if line.endswith("\\"):
            pending += line[:-1] + " "
            continue
        yield start, pending + line
        pending = ""


def check_document(name):
    problems = []
    path = os.path.join(SOURCE, name)
    lines = read(path).splitlines()
    fence, block = None, []
    for number, line in enumerate(lines, 1):
        def problem(what, at=number):
            problems.append(f"{name}:{at}: {what}")

        m = re.match(r"\s*```(\w*)", line)
        if m and fence is None:
            fence, block = m.group(1), []
            continue
        if m:
            if fence in {"sh", "bash", "console"}:
                for at, command in shell_commands(block):
                    for words in command_lines(command):
                        if (what := command_missing(words, strict=True)):
                            problem(what, at)
                        for word in words[1:]:
                            if (what := path_missing(word)):
                                problem(what, at)
            fence = None
            continue
        if fence is not None:
            block.append((number, line))
            continue
        for target in re.findall(r"\]\(([^)\s]+)\)", line):
            if re.match(r"^[a-z]+:", target):
                continue
            file, _, anchor = target.partition("#")
            linked = os.path.normpath(os.path.join(os.path.dirname(path), file)) if file else path
            if not os.path.exists(linked):
                problem(f"link to {target}: no {os.path.relpath(linked, SOURCE)}")
            elif anchor and linked.endswith(".md") and anchor not in heading_anchors(linked):
                problem(f"link to {target}: no heading #{anchor} in {os.path.relpath(linked, SOURCE)}")
        for span in re.findall(r"`([^`]+)`", line):
            m = TEST_NAME.match(span)
            if m:
                suite, case = m.group(1) or m.group(3), (m.group(2) or m.group(4)).lstrip(":.")
                if not re.search(rf"void {suite}::{case}\(|TEST(_[PF])?\({suite}, {case}\)", TEST_SOURCES):
                    problem(f"no test {span}")
                continue
            if CTEST_NAME.match(span):
                suite = rf"(TEST(_[PF])?\(|class ){span}\b"
                if span not in CTESTS and not re.search(suite, TEST_SOURCES):
                    problem(f"no test {span} (neither in CTest nor a test suite)")
                continue
            words = span.split()
            if len(words) > 1 and re.match(r"^[a-z][\w.+-]*$|^\S+/", words[0]):
                for cmd in command_lines(span):
                    if (what := command_missing(cmd, strict=False)):
                        problem(what)
            for word in words:
                if (what := path_missing(word)):
                    problem(what)
    return problems


problems = []
for document in DOCUMENTS:
    if not os.path.exists(os.path.join(SOURCE, document)):
        problems.append(f"{document}: the document itself is missing")
        continue
    problems += check_document(document)
for p in problems:
    print(p)
checked = len(DOCUMENTS)
print(f"{checked - len({p.split(':')[0] for p in problems})} passed, "
      f"{len({p.split(':')[0] for p in problems})} failed")
sys.exit(1 if problems else 0)
