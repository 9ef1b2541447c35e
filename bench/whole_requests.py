#!/usr/bin/env python3
"""Whole sign requests with large payloads (bench/payloads.py), sent over pipes
to the host with no login, so that it reads, compacts, parses and decodes the
request and answers an error without touching the token. Beside the host, in
the same run: the framing echo receiving the same frame, and CPython's
json.loads of the same text. Each figure is the median per request; the
host's instructions (callgrind) and minor page faults per request explain its
time.

Run on its own (after building build-bench/) for the figures alone:
    bench/whole_requests.py --build build-bench
"""

import argparse
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import payloads  # noqa: E402

NO_LOGIN = "Must login before being able to sign"
# Per kind: timed requests per process run, and requests measured by callgrind.
KINDS = (("string_16MiB", 4, 2), ("string_1MiB", 20, 4), ("object_10000", 20, 4))


def run(command, env):
    result = subprocess.run(command, text=True, capture_output=True, env=env)
    if result.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(command), result.returncode, result.stderr))
    return result.stdout


def requests(driver, program, count, path, reply, env):
    """Seconds of each timed request and minor page faults per request."""
    out = run([driver, "requests", str(count), path, reply, "--"] + program, env).split("\n")
    return [float(v) for v in out[0].split()], float(out[1])


def loads_seconds(text, count):
    times = []
    for _ in range(count):
        start = time.perf_counter()
        json.loads(text)
        times.append(time.perf_counter() - start)
    return times


def instructions(driver, program, count, path, reply, env, work):
    """Instructions per request that callgrind counts: a run with `count`
    requests after the untimed one, less a run with the untimed one only."""
    totals = []
    for n in (0, count):
        out = os.path.join(work, "callgrind.out")
        requests(driver, [shutil.which("valgrind"), "--tool=callgrind", "--callgrind-out-file=" + out] +
                 program, n, path, reply, env)
        with open(out) as f:
            totals.append(int(re.search(r"^(?:summary|totals): (\d+)", f.read(), re.M).group(1)))
        os.remove(out)
    return (totals[1] - totals[0]) / count


def softhsm_environment(work):
    """The environment for programs that load SoftHSM2 with an empty token
    folder of their own in `work`."""
    os.mkdir(os.path.join(work, "tokens"))
    conf = os.path.join(work, "softhsm2.conf")
    with open(conf, "w") as f:
        f.write("directories.tokendir = %s/tokens\nobjectstore.backend = file\n"
                "log.level = ERROR\n" % work)
    return dict(os.environ, SOFTHSM2_CONF=conf)


class Hosts:
    """The host without and with log files: copies of its configuration
    beside links to its binary, which reads the configuration beside the path
    it was started as."""

    def __init__(self, host, module, work):
        self.logs = os.path.join(work, "logs")
        os.mkdir(self.logs)
        self.plain = os.path.join(work, "vantrel-plain")
        self.logging = os.path.join(work, "vantrel-logging")
        for link, extra in ((self.plain, ""),
                            (self.logging, "logDir=%s\nmaxLogFiles=10\n" % self.logs)):
            os.symlink(host, link)
            with open(link + ".cfg", "w") as f:
                f.write("pkcs11Library=%s\n%s" % (module, extra))


def measure(build, module, env, runs, seed=1):
    """{kind: figures} for every kind of payload."""
    driver = os.path.join(build, "bench", "vantrel-bench-driver")
    echo = os.path.join(build, "bench", "vantrel-bench-echo")
    work = tempfile.mkdtemp(prefix="vantrel-bench-requests-")
    results = {}
    try:
        hosts = Hosts(os.path.join(build, "vantrel"), module, work)
        for kind, count, counted in KINDS:
            print("whole requests: %s..." % kind, flush=True)
            request = payloads.request(kind, seed)
            path = os.path.join(work, kind + ".json")
            with open(path, "wb") as f:
                f.write(request)
            text = request.decode("utf-8")
            times = {"host": [], "logging": [], "echo": [], "loads": []}
            faults = {"host": [], "logging": []}
            # Host, host with log files, echo and json.loads take turns, so
            # that all meet the same load.
            for _ in range(runs):
                for name, program, reply in (("host", hosts.plain, NO_LOGIN),
                                             ("logging", hosts.logging, NO_LOGIN),
                                             ("echo", echo, "-")):
                    seconds, per_request = requests(driver, [program], count, path, reply, env)
                    times[name] += seconds
                    if name in faults:
                        faults[name].append(per_request)
                times["loads"] += loads_seconds(text, count)
            figures = {name: statistics.median(values) for name, values in times.items()}
            figures["faults"] = {name: statistics.median(v) for name, v in faults.items()}
            figures["instructions"] = {
                name: instructions(driver, [program], counted, path, NO_LOGIN, env, work)
                for name, program in (("host", hosts.plain), ("logging", hosts.logging))}
            figures["bytes"] = len(request)
            results[kind] = figures
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return results


# kind -> (figure, target of host / (echo + json.loads))
TARGETS = {
    "string_16MiB": ("sign, 16 MiB escape-dense string, no login", 0.75),
    "string_1MiB": ("sign, 1 MiB escape-dense string, no login", 0.8),
    "object_10000": ("sign, object of 10,000 short string members, no login", 1.5),
}
LOGGING_TARGET = 1.25
FAULTS_TARGET = 1000


def rows(results):
    """Table rows: (figure, host, baseline, ratio, target, met)."""
    table = []
    for kind, _, _ in KINDS:
        r = results[kind]
        figure, target = TARGETS[kind]
        baseline = r["echo"] + r["loads"]
        ratio = r["host"] / baseline
        table.append((
            "Whole request: " + figure,
            "%.2f ms; %.1f M instructions, %.0f page faults" %
            (r["host"] * 1e3, r["instructions"]["host"] / 1e6, r["faults"]["host"]),
            "%.2f ms (echo %.2f ms + json.loads %.2f ms)" %
            (baseline * 1e3, r["echo"] * 1e3, r["loads"] * 1e3),
            "%.2f× time" % ratio, "≤ %.2g×" % target, ratio <= target))
        ratio = r["logging"] / r["host"]
        table.append((
            "Whole request, log files on: " + figure,
            "%.2f ms; %.1f M instructions, %.0f page faults" %
            (r["logging"] * 1e3, r["instructions"]["logging"] / 1e6, r["faults"]["logging"]),
            "%.2f ms (log files off)" % (r["host"] * 1e3), "%.2f× time" % ratio,
            "≤ %.2f×" % LOGGING_TARGET, ratio <= LOGGING_TARGET))
    faults = results["string_16MiB"]["faults"]["host"]
    table.append(("Page faults per 16 MiB request, steady state", "%.0f minor faults" % faults,
                  "none", "—", "≤ %d" % FAULTS_TARGET, faults <= FAULTS_TARGET))
    return table


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--module", default="/usr/lib/softhsm/libsofthsm2.so")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="vantrel-bench-")
    try:
        env = softhsm_environment(work)
        results = measure(os.path.abspath(args.build), args.module, env, args.runs, args.seed)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for row in rows(results):
        print("| %s | %s | %s | %s | %s | %s |" % (row[:5] + ("yes" if row[5] else "**no**",)))


if __name__ == "__main__":
    main()
