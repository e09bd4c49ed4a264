#!/usr/bin/env python3
"""Which sources clang-tidy must look at again.

A source passed before if nothing it is made of has changed since: its text
after the preprocessor (every header it includes, comments kept for NOLINT,
no line markers, so that the folder of the checkout does not count), the
checks asked for, .clang-tidy and the clang-tidy version. Prints the sources
not known to pass, one a line, and writes the keys they would pass under to
KEYS_OUT; `--remember KEYS_OUT` records those keys once they have passed.
"""

import argparse
import concurrent.futures
import hashlib
import json
import os
import pathlib
import shlex
import subprocess
import sys

# Arguments that write files or name the output: not for the preprocessor.
WITH_VALUE = {"-o", "-MF", "-MT", "-MQ"}
ALONE = {"-c", "-MD", "-MMD"}


def preprocess_arguments(entry):
    words = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    if os.path.basename(words[0]) == "ccache":
        words = words[1:]
    kept, skip = [], False
    for word in words:
        if skip:
            skip = False
        elif word in WITH_VALUE:
            skip = True
        elif word not in ALONE:
            kept.append(word)
    return kept + ["-E", "-P", "-C", "-o", "-"]


def key_of(entry, common):
    result = subprocess.run(preprocess_arguments(entry), cwd=entry["directory"], capture_output=True, check=False)
    if result.returncode != 0:
        return None  # let clang-tidy say what is wrong
    return hashlib.sha256(common + result.stdout).hexdigest()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--cache", required=True)
    parser.add_argument("--checks", default="")
    parser.add_argument("--keys-out", required=True)
    parser.add_argument("--remember", action="store_true")
    parser.add_argument("files", nargs="*")
    options = parser.parse_args()
    cache = pathlib.Path(options.cache)

    if options.remember:
        cache.mkdir(parents=True, exist_ok=True)
        for key in pathlib.Path(options.keys_out).read_text().split():
            (cache / key).touch()
        return 0

    version = subprocess.run(["clang-tidy", "--version"], capture_output=True, check=True).stdout
    config = pathlib.Path(".clang-tidy").read_bytes()
    common = version + b"\0" + config + b"\0" + options.checks.encode() + b"\0"
    entries = {}
    for entry in json.loads((pathlib.Path(options.build) / "compile_commands.json").read_text()):
        path = pathlib.Path(entry["directory"], entry["file"]).resolve()
        entries[str(path)] = entry
    wanted = [str(pathlib.Path(f).resolve()) for f in options.files]

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        keys = list(pool.map(lambda f: key_of(entries[f], common) if f in entries else None, wanted))
    pending = []
    for file, key in zip(wanted, keys):
        if key is None or not (cache / key).exists():
            print(file)
            if key is not None:
                pending.append(key)
    pathlib.Path(options.keys_out).write_text("\n".join(pending) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
