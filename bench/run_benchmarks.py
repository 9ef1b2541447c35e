#!/usr/bin/env python3
"""Runs every Vantrel benchmark against its baseline and writes BENCHMARKS.md.

In-process figures come from vantrel-bench-pipeline (Google Benchmark);
whole-process figures from vantrel-bench-driver, which talks to the host and
to the baseline programs over pipes. Every figure is the median of several
runs, host and baseline runs taking turns so that both meet the same load.
The token work happens on a SoftHSM2 token made for the run in a temporary
folder (its own SOFTHSM2_CONF), never on a token of the machine.
"""

import argparse
import base64
import datetime
import json
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import whole_requests  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import native_messaging  # noqa: E402

MODULE = "/usr/lib/softhsm/libsofthsm2.so"
USER_PIN = "123456"
SO_PIN = "87654321"
TOKEN_LABEL = "Vantrel bench"
SIGN_PAYLOAD = "Vantrel benchmark payload: the text a page asks the token to sign."


def run(command, **kwargs):
    result = subprocess.run(command, text=True, capture_output=True, **kwargs)
    if result.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(command), result.returncode, result.stderr))
    return result.stdout


def median_of(runs, command, env):
    values = [float(run(command, env=env).strip()) for _ in range(runs)]
    return statistics.median(values)


def alternate(runs, commands, env, field=0):
    """Runs the commands in turn, `runs` times each; the median of each, of
    the `field`-th number a command prints (all of them when `field` is None)."""
    values = [[] for _ in commands]
    for _ in range(runs):
        for index, command in enumerate(commands):
            values[index].append([float(v) for v in run(command, env=env).split()])
    medians = [[statistics.median(column) for column in zip(*v)] for v in values]
    return medians if field is None else [m[field] for m in medians]


class Host:
    """The host as a browser sees it, for setting up the token."""

    def __init__(self, program, env):
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=env)

    def send(self, request):
        text = json.dumps(request).encode()
        self.process.stdin.write(native_messaging.frame(text))
        self.process.stdin.flush()
        reply = json.loads(native_messaging.read_frame(self.process.stdout))
        if "error" in reply:
            sys.exit("setup request %s failed: %s" % (request["action"], reply["error"]))
        return reply

    def close(self):
        self.process.stdin.close()
        self.process.wait()


def make_token(work, host_program, env):
    """A token with an RSA-2048 key pair made by the host and a certificate
    for it issued by a throw-away authority; returns (token SN, certificate SN)."""
    run(["softhsm2-util", "--init-token", "--free", "--label", TOKEN_LABEL, "--so-pin", SO_PIN,
         "--pin", USER_PIN], env=env)
    host = Host(host_program, env)
    tokens = host.send({"action": "listTokens"})["tokens"]
    token_sn = next(t["tokenSN"] for t in tokens if t["tokenLabel"] == TOKEN_LABEL)
    host.send({"action": "login", "tokenSN": token_sn, "pin": USER_PIN, "mode": "write"})
    csr = host.send({"action": "generateKeys", "tokenSN": token_sn, "result": "csr"})["csr"]
    ca = os.path.join(work, "ca")
    os.mkdir(ca)
    with open(os.path.join(ca, "request.der"), "wb") as f:
        f.write(base64.b64decode(csr))
    run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
         os.path.join(ca, "ca.key"), "-out", os.path.join(ca, "ca.pem"), "-subj",
         "/CN=Vantrel Bench CA", "-days", "2"])
    run(["openssl", "req", "-in", os.path.join(ca, "request.der"), "-inform", "DER", "-out",
         os.path.join(ca, "request.pem")])
    run(["openssl", "x509", "-req", "-in", os.path.join(ca, "request.pem"), "-CA",
         os.path.join(ca, "ca.pem"), "-CAkey", os.path.join(ca, "ca.key"), "-set_serial",
         "0x5A17C0DE42", "-days", "2", "-out", os.path.join(ca, "user.pem")])
    der = subprocess.run(["openssl", "x509", "-in", os.path.join(ca, "user.pem"), "-outform",
                          "DER"], check=True, capture_output=True).stdout
    host.send({"action": "importCertificate", "certificate": base64.b64encode(der).decode()})
    certificates = host.send({"action": "listCertificates", "tokenSN": token_sn})["certificates"]
    serial = certificates[0]["serialNumber"]
    host.close()
    # A request names a certificate by its whole DER INTEGER: tag, length, value.
    return token_sn, "02%02x%s" % (len(serial) // 2, serial)


def pipeline(build, repetitions, min_time):
    out = os.path.join(tempfile.mkdtemp(prefix="vantrel-bench-"), "pipeline.json")
    run([os.path.join(build, "bench", "vantrel-bench-pipeline"),
         "--benchmark_repetitions=%d" % repetitions, "--benchmark_report_aggregates_only=true",
         "--benchmark_min_time=%s" % min_time, "--benchmark_out=" + out,
         # Repetitions of host and baseline take turns, so both meet the same load.
         "--benchmark_enable_random_interleaving=true",
         "--benchmark_out_format=json"])
    with open(out) as f:
        results = json.load(f)["benchmarks"]
    shutil.rmtree(os.path.dirname(out))
    medians = {}
    for result in results:
        if result.get("aggregate_name") == "median":
            side = "host" if result["run_name"].startswith("BM_Host") else "nlohmann"
            medians[(side, result["label"])] = result["bytes_per_second"] / 1e6
    return medians


# A section of the output file written by hand (what bounds a target that is
# not met, say) starts with this heading; a new run keeps it as it stands.
NOTES_HEADING = "\n## Notes\n"


def kept_notes(path):
    try:
        with open(path) as f:
            old = f.read()
    except OSError:
        return ""
    start = old.find(NOTES_HEADING)
    return old[start:] if start >= 0 else ""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default="build-bench")
    parser.add_argument("--output", default="BENCHMARKS.md")
    parser.add_argument("--runs", type=int, default=15, help="runs per whole-process figure")
    parser.add_argument("--repetitions", type=int, default=7, help="Google Benchmark repetitions")
    parser.add_argument("--min-time", default="0.5", help="Google Benchmark minimum time (s)")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    host = os.path.join(build, "vantrel")
    driver = os.path.join(build, "bench", "vantrel-bench-driver")
    echo = os.path.join(build, "bench", "vantrel-bench-echo")
    pkcs11 = os.path.join(build, "bench", "vantrel-bench-pkcs11")

    work = tempfile.mkdtemp(prefix="vantrel-bench-")
    try:
        env = whole_requests.softhsm_environment(work)
        # The host reads its configuration beside its binary; no log files.
        with open(os.path.join(build, "vantrel.cfg"), "w") as f:
            f.write("pkcs11Library=%s\n" % MODULE)

        print("request pipeline (Google Benchmark)...", flush=True)
        medians = pipeline(build, args.repetitions, args.min_time)

        print("token set-up...", flush=True)
        token_sn, certificate_sn = make_token(work, host, env)

        print("round trips...", flush=True)
        roundtrip_host, roundtrip_echo = alternate(args.runs, [
            [driver, "roundtrip", "2000", "--", host],
            [driver, "roundtrip", "2000", "--", echo],
        ], env)

        print("signatures...", flush=True)
        (sign_host, sign_host_cpu), (sign_calls, sign_calls_cpu), (sign_bare, _) = alternate(
            args.runs, [
            [driver, "sign", "200", token_sn, USER_PIN, certificate_sn, SIGN_PAYLOAD, "--", host],
            [pkcs11, "sign", MODULE, token_sn, USER_PIN, certificate_sn, "200", SIGN_PAYLOAD],
            [pkcs11, "sign", MODULE, token_sn, USER_PIN, certificate_sn, "200", SIGN_PAYLOAD,
             "bare"],
        ], env, None)

        print("start-up...", flush=True)
        startup_host, startup_module = alternate(2 * args.runs, [
            [driver, "startup", "--", host],
            [driver, "startup", "--", pkcs11, "init", MODULE],
        ], env)

        requests = whole_requests.measure(build, MODULE, env, max(3, args.runs // 3))

        print("peak memory...", flush=True)
        memory = {}
        for mib in (16, 64):
            memory[mib] = median_of(max(3, args.runs // 2),
                                    [driver, "memory", str(mib << 20), "--", host], env)
    finally:
        shutil.rmtree(work, ignore_errors=True)
        config = os.path.join(build, "vantrel.cfg")
        if os.path.exists(config):
            os.remove(config)

    rows = []

    def row(figure, host_text, baseline_text, ratio, target, met):
        rows.append("| %s | %s | %s | %s | %s | %s |" % (figure, host_text, baseline_text, ratio,
                                                      target, "yes" if met else "**no**"))

    labels = [("info", "info", None), ("sign_1KiB", "sign, 1 KiB string payload", 1.0),
              ("sign_1MiB", "sign, 1 MiB string payload", 1.0),
              ("sign_16MiB", "sign, 16 MiB string payload", 1.0),
              ("sign_object_10000_members", "sign, object payload of 10,000 members", 0.5)]
    for label, figure, target in labels:
        h, n = medians[("host", label)], medians[("nlohmann", label)]
        ratio = h / n
        row("Pipeline: " + figure, "%.1f MB/s" % h, "%.1f MB/s (nlohmann parse)" % n,
            "%.2f× throughput" % ratio, "≥ %.1f×" % target if target else "none",
            target is None or ratio >= target)
    ratio = roundtrip_host / roundtrip_echo
    row("Round trip: 2,000 info requests over pipes", "%.1f ms (%.1f µs each)" %
        (roundtrip_host * 1e3, roundtrip_host * 1e6 / 2000), "%.1f ms (framing echo)" %
        (roundtrip_echo * 1e3), "%.2f× time" % ratio, "≤ 1.3×", ratio <= 1.3)
    ratio = sign_host / sign_calls
    row("Signing: 200 sign requests after a login (RSA-2048, SoftHSM2)",
        "%.1f ms (%.2f ms each)" % (sign_host * 1e3, sign_host * 5),
        "%.1f ms (same PKCS#11 calls)" % (sign_calls * 1e3), "%.3f× time" % ratio, "≤ 1.05×",
        ratio <= 1.05)
    row("Signing, processor time only, for information", "%.1f ms" % (sign_host_cpu * 1e3),
        "%.1f ms (same PKCS#11 calls)" % (sign_calls_cpu * 1e3),
        "%.3f× time" % (sign_host_cpu / sign_calls_cpu), "none", True)
    row("Signing, for information", "%.1f ms" % (sign_host * 1e3),
        "%.1f ms (bare C_SignInit + C_Sign)" % (sign_bare * 1e3),
        "%.3f× time" % (sign_host / sign_bare), "none", True)
    ratio = startup_host / startup_module
    row("Start-up: process start to first reply, module loaded", "%.1f ms" % (startup_host * 1e3),
        "%.1f ms (load module + C_Initialize)" % (startup_module * 1e3), "%.2f× time" % ratio,
        "≤ 1.2×", ratio <= 1.2)
    for mib in (16, 64):
        ratio = memory[mib] / (mib << 20)
        row("Peak memory: sign with a %d MiB payload, no login" % mib,
            "%.1f MiB peak RSS" % (memory[mib] / 2**20), "%d MiB payload" % mib,
            "%.2f× payload" % ratio, "≤ 3×", ratio <= 3)
    for figure in whole_requests.rows(requests):
        row(*figure)

    load = os.getloadavg()
    cpu = "unknown processor"
    try:
        with open("/proc/cpuinfo") as f:
            cpu = next(line.split(":", 1)[1].strip() for line in f if line.startswith("model name"))
    except (OSError, StopIteration):
        pass
    text = """# Benchmarks

Reproduce with `bash scripts/bench.sh` (builds `build-bench/` and rewrites this file).

Measured %s on %s (%d cores, %s), load average %.2f when the run ended.
Every figure is a median: of Google Benchmark repetitions (%d, CPU time, host and
baseline repetitions interleaved) for the pipeline; of %d whole-process runs
otherwise (twice as many for start-up), host and baseline runs taking turns.

| Figure | Host | Baseline | Ratio (host / baseline) | Target | Met |
| --- | --- | --- | --- | --- | --- |
%s

What each figure measures:

- Pipeline: compact, parse, decode, dispatch (no token module loaded), build the
  reply object and serialise it, for one message already in memory
  (`bench/pipeline_bench.cpp`); the baseline is `nlohmann::json::parse` of the
  same text. Throughput is message bytes per second; higher is better.
- Round trip: `vantrel-bench-driver` starts the host and sends 2,000 info
  requests over pipes, each after the previous reply; the baseline is a
  framing echo that answers every frame with a fixed 100-byte reply.
- Signing: after a login, 200 sign requests one after another, against a
  program making the same PKCS#11 calls per signature on the same key (find
  the certificate, find its private key, read CKA_NEVER_EXTRACTABLE, read the
  key's type and CKA_ALWAYS_AUTHENTICATE, C_SignInit and C_Sign for the length
  and the signature; the token's mechanism list at the login's first
  signature). Token handles are not cached
  between requests. Wall-clock time, which the target is about, includes the
  two process wake-ups per request that a loaded machine delays; the
  processor-time row leaves them out.
- Start-up: from starting the process to reading its first reply (an info
  request sent at once), the host loading SoftHSM2; the baseline loads the
  module, calls C_Initialize and writes a frame.
- Peak memory: the host's peak resident set size (getrusage) for one sign
  request with a string payload and no login, module loaded, no log files.
- Whole request: `vantrel-bench-driver` sends one sign request again and
  again over pipes, each after the previous reply, to a host with no login
  (it reads, compacts, parses and decodes the request and answers "Must login
  before being able to sign" without touching the token), one untimed request
  first. The payloads come from `bench/payloads.py` (seed 1): ordinary text
  in several scripts with about one JSON escape every 20 bytes (quotes,
  backslashes, `\\u` escapes, line breaks, tabs), and an object of 10,000
  string members of up to 40 bytes under distinct keys in no order, some with
  escapes and characters beyond the BMP. The baseline is the framing echo
  receiving the same frame plus CPython's `json.loads` of the same text, timed
  in the same run, the runs taking turns. "Log files on" is the host
  configured with `maxLogFiles=10`. Instructions are callgrind's count per
  request (a run of several requests less a run of the untimed one); page
  faults are the host's minor faults per request (getrusage), from the
  untimed reply to its exit.
""" % (datetime.date.today().isoformat(), platform.node() or "this machine", os.cpu_count(), cpu,
       load[0], args.repetitions, args.runs, "\n".join(rows))
    text += kept_notes(args.output)
    with open(args.output, "w") as f:
        f.write(text)
    print(text)


if __name__ == "__main__":
    main()
