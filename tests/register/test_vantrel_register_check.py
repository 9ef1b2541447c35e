"""vantrel-register --check: on a working installation and on each broken one
it diagnoses, with the built host on a SoftHSM2 token of the test's own.

Everything lies in a staging root (--root), so that the manifests of the
machine itself never take part: the user's folders below it under
/home/tester, the host at /opt/vantrel/vantrel. The tests' PATH holds only
stand-ins for the browsers they call installed."""

import json
import os
import pwd
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import time
import unittest

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
REGISTER = os.path.join(SOURCE, "tools", "vantrel-register")
HOST_NAME = "org.vantrel.host"
# The build's host and fault-injecting module; ctest names them.
BUILT_HOST = os.environ.get("VANTREL_HOST") or os.path.join(SOURCE, "build", "vantrel")
FAULT_MODULE = os.environ.get("VANTREL_FAULT_MODULE") or os.path.join(
    SOURCE, "build", "tests", "faults", "module", "libvantrel_pkcs11_fault.so")
SOFTHSM_MODULE = "/usr/lib/softhsm/libsofthsm2.so"

HOME = "/home/tester"
HOST = "/opt/vantrel/vantrel"
ORIGIN = "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/"
OTHER_ORIGIN = "chrome-extension://" + "a" * 32 + "/"
ORIGIN_ID, OTHER_ORIGIN_ID = ORIGIN[19:51], OTHER_ORIGIN[19:51]
FIREFOX_ID = "vantrel-sample@vantrel.org"
OTHER_FIREFOX_ID = "other@x.org"
CHROMIUM_MANIFEST = HOME + "/.config/chromium/NativeMessagingHosts/org.vantrel.host.json"
FIREFOX_MANIFEST = HOME + "/.mozilla/native-messaging-hosts/org.vantrel.host.json"
TOKEN_LABEL = "Vantrel check"


def line(label, text):
    """One line of a browser's findings, as --check prints it."""
    return "  %-14s %s" % (label, text)


def problem_lines(problem, fix):
    return ["  problem:       " + problem, "    fix:         " + fix]


class Installation:
    """A staging root with the built host registered for Chromium and Firefox,
    a .cfg naming SoftHSM2 and a token in a SoftHSM2 folder of its own."""

    def __init__(self, scratch):
        self.scratch = scratch
        self.root = os.path.join(scratch, "root")
        self.bin = os.path.join(scratch, "bin")
        self.softhsm_conf = os.path.join(scratch, "softhsm2.conf")
        self.fault_rules = os.path.join(scratch, "fault-rules")
        os.makedirs(self.bin)
        # For the tool's own first line (#!/usr/bin/env python3), no browser.
        os.symlink(sys.executable, os.path.join(self.bin, "python3"))
        self.host = self.staged(HOST)
        os.makedirs(os.path.dirname(self.host))
        shutil.copy(BUILT_HOST, self.host)
        os.chmod(self.host, 0o755)
        self.write_cfg("pkcs11Library=%s\n" % SOFTHSM_MODULE)
        os.makedirs(os.path.join(scratch, "tokens"))
        with open(self.softhsm_conf, "w") as stream:
            stream.write("directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n"
                         % os.path.join(scratch, "tokens"))
        subprocess.run([shutil.which("softhsm2-util"), "--init-token", "--free", "--label", TOKEN_LABEL, "--so-pin", "87654321",
                        "--pin", "123456"], env=self.environment(), check=True, capture_output=True)
        self.serial = re.search(r"Serial number:\s+(\S+)", subprocess.run(
            [shutil.which("softhsm2-util"), "--show-slots"], env=self.environment(), check=True, capture_output=True,
            text=True).stdout).group(1)
        self.run("--host", HOST, "--browser", "chromium", "--browser", "firefox", expect=0)
        # Profiles that have the extension (and the other one the tests name):
        # Chromium's loaded unpacked by hand, Firefox's installed by policy.
        self.add_chromium_profile(self.staged(HOME + "/.config/chromium"), "Default",
                                  {ORIGIN_ID: {"location": 4, "disable_reasons": []},
                                   OTHER_ORIGIN_ID: {"location": 4, "disable_reasons": []}})
        self.add_firefox_profile("abcd1234.default-release", "default-release", [
            {"id": FIREFOX_ID, "active": True, "userDisabled": False, "appDisabled": False, "location": "app-profile",
             "installTelemetryInfo": {"source": "enterprise-policy"}},
            {"id": OTHER_FIREFOX_ID, "active": True, "location": "app-profile"},
        ])

    @staticmethod
    def add_chromium_profile(user_data_dir, name, extensions):
        os.makedirs(os.path.join(user_data_dir, name), exist_ok=True)
        with open(os.path.join(user_data_dir, name, "Preferences"), "w", encoding="utf-8") as stream:
            json.dump({"extensions": {"settings": extensions}}, stream)

    def add_firefox_profile(self, folder, name, addons):
        profiles = self.staged(HOME + "/.mozilla/firefox")
        os.makedirs(os.path.join(profiles, folder), exist_ok=True)
        with open(os.path.join(profiles, "profiles.ini"), "a", encoding="utf-8") as stream:
            stream.write("[Profile%d]\nName=%s\nIsRelative=1\nPath=%s\n\n" % (len(os.listdir(profiles)) - 1, name, folder))
        with open(os.path.join(profiles, folder, "extensions.json"), "w", encoding="utf-8") as stream:
            json.dump({"schemaVersion": 36, "addons": addons}, stream)

    def staged(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def environment(self):
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("XDG_CONFIG_HOME", "CHROME_CONFIG_HOME", "VANTREL_FAULT_TARGET")}
        environment.update(HOME=HOME, PATH=self.bin, SOFTHSM2_CONF=self.softhsm_conf,
                           VANTREL_FAULT_RULES=self.fault_rules)
        return environment

    def run(self, *arguments, expect=None):
        result = subprocess.run([sys.executable, REGISTER, "--root", self.root, *arguments], env=self.environment(),
                                capture_output=True, text=True, timeout=120)
        if expect is not None and result.returncode != expect:
            raise AssertionError("exit status %d, not %d:\n%s%s" % (result.returncode, expect, result.stdout,
                                                                     result.stderr))
        return result

    def check(self, *arguments):
        return self.run("--check", *arguments)

    def write_cfg(self, text):
        with open(self.host + ".cfg", "w") as stream:
            stream.write(text)

    def use_fault_module(self, rules):
        self.write_cfg("pkcs11Library=%s\n" % FAULT_MODULE)
        with open(self.fault_rules, "w") as stream:
            stream.write(rules + "\n")

    def edit_manifest(self, path, change):
        with open(self.staged(path), encoding="utf-8") as stream:
            manifest = json.load(stream)
        change(manifest)
        with open(self.staged(path), "w", encoding="utf-8") as stream:
            json.dump(manifest, stream)

    def install_browser(self, program):
        path = os.path.join(self.bin, program)
        with open(path, "w") as stream:
            stream.write("#!/bin/sh\n")
        os.chmod(path, 0o755)

    def working_lines(self, browser):
        """The findings for a browser whose registration works."""
        firefox = browser == "Firefox"
        return [
            line("extension", "profile default-release: %s, installed by policy, enabled" % FIREFOX_ID if firefox else
                 "profile Default: %s, installed by hand (unpacked), enabled" % ORIGIN_ID),
            line("manifest", "%s (per user)" % self.staged(FIREFOX_MANIFEST if firefox else CHROMIUM_MANIFEST)),
            line("host program", "%s (executable)" % self.host),
            line("allows", FIREFOX_ID + " (allowed_extensions)" if firefox else ORIGIN + " (allowed_origins)"),
            line("host", "starts and answers info: version 1.4, module libsofthsm2.so"),
            line("configuration", "%s.cfg names pkcs11Library=%s" % (self.host, SOFTHSM_MODULE)),
            line("tokens", '2 visible: "%s" (serial %s), a blank token (SoftHSM v2)' % (TOKEN_LABEL, self.serial)),
            line("verdict", "%s: works, 2 tokens visible" % browser),
        ]


@unittest.skipUnless(shutil.which("softhsm2-util"), "needs SoftHSM2 (installed by scripts/install-deps.sh)")
class CheckTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        for built in (BUILT_HOST, FAULT_MODULE):
            if not os.path.isfile(built):
                raise AssertionError("%s is missing: build first (cmake --build build)" % built)

    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="vantrel-check-test-")
        self.installation = Installation(self.scratch.name)

    def tearDown(self):
        self.scratch.cleanup()

    def fresh(self):
        """Another installation, for one case of a table."""
        scratch = tempfile.mkdtemp(prefix="vantrel-check-test-", dir=self.scratch.name)
        return Installation(scratch)

    def browser_block(self, output, browser):
        """The lines --check printed for one browser, its heading left out."""
        lines = output.splitlines()
        start = next(i for i, text in enumerate(lines) if text == browser or text.startswith(browser + " ("))
        end = next((i for i in range(start + 1, len(lines)) if not lines[i]), len(lines))
        return lines[start + 1:end]

    def registration_block(self, output, browser):
        """browser_block without the lines about the extension in the profiles."""
        return [text for text in self.browser_block(output, browser) if not text.startswith("  extension ")]

    def test_a_working_installation_is_reported_as_working(self):
        installation = self.installation
        result = installation.check()
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        # Neither browser is on PATH: both are checked because they are registered.
        self.assertEqual([text for text in result.stdout.splitlines() if text and not text.startswith(" ")],
                         ["Chromium (registered)", "Firefox (registered)"])
        for browser in ("Chromium", "Firefox"):
            self.assertEqual(self.browser_block(result.stdout, browser), installation.working_lines(browser), browser)

    def test_each_broken_installation_gets_its_problem_and_its_fix(self):
        register = REGISTER
        manifest = lambda i: i.staged(CHROMIUM_MANIFEST)  # noqa: E731
        cases = (
            ("manifest missing", lambda i: os.unlink(manifest(i)), ["--browser", "chromium"],
             lambda i: [line("manifest", "none: Chromium looks for %s" % manifest(i))]
             + problem_lines("org.vantrel.host is not registered for Chromium (no manifest)",
                             "%s --root %s --browser chromium --host %s" % (register, i.root, HOST))),
            ("wrong name", lambda i: i.edit_manifest(CHROMIUM_MANIFEST, lambda m: m.update(name="org.vantrel.other")),
             ["--browser", "chromium"],
             lambda i: problem_lines('its name is "org.vantrel.other", not org.vantrel.host: the browser ignores it',
                                     "%s --root %s --browser chromium --host %s" % (register, i.root, HOST))),
            ("relative path", lambda i: i.edit_manifest(CHROMIUM_MANIFEST, lambda m: m.update(path="vantrel")),
             ["--browser", "chromium"],
             lambda i: problem_lines('its path "vantrel" is relative; on Linux browsers start only an absolute path',
                                     "%s --root %s --browser chromium --host %s" % (register, i.root, HOST))
             + [line("allows", ORIGIN + " (allowed_origins)"),
                line("host", "not started: the browser could not start it either")]),
            ("host not executable", lambda i: os.chmod(i.host, 0o644), ["--browser", "chromium"],
             lambda i: problem_lines("the host program %s is not executable" % i.host, "chmod 755 " + i.host)),
            ("origin not listed", lambda i: None, ["--browser", "chromium", "--origin", OTHER_ORIGIN],
             lambda i: problem_lines(
                 "allowed_origins does not list the extension origin %s (it lists %s)" % (OTHER_ORIGIN, ORIGIN),
                 "%s --root %s --browser chromium --host %s --origin %s --origin %s"
                 % (register, i.root, HOST, ORIGIN, OTHER_ORIGIN))),
            ("Firefox extension not listed", lambda i: None, ["--browser", "firefox", "--firefox-id", "other@x.org"],
             lambda i: problem_lines(
                 "allowed_extensions does not list the extension ID other@x.org (it lists %s)" % FIREFOX_ID,
                 "%s --root %s --browser firefox --host %s --firefox-id %s --firefox-id other@x.org"
                 % (register, i.root, HOST, FIREFOX_ID))),
            ("origin without its trailing slash",
             lambda i: i.edit_manifest(CHROMIUM_MANIFEST, lambda m: m.update(allowed_origins=[ORIGIN[:-1]])),
             ["--browser", "chromium"],
             lambda i: problem_lines(
                 "allowed_origins holds %s, which the browser does not take (chrome-extension://<32-letter ID>/, "
                 "with the trailing slash): it ignores the whole manifest" % ORIGIN[:-1],
                 "%s --root %s --browser chromium --host %s" % (register, i.root, HOST))),
            ("manifest not JSON", lambda i: open(manifest(i), "w").close(), ["--browser", "chromium"],
             lambda i: problem_lines("the manifest is not valid JSON (Expecting value: line 1 column 1 (char 0))",
                                     "%s --root %s --browser chromium --host %s" % (register, i.root, HOST))),
            ("module not loadable", lambda i: i.write_cfg("pkcs11Library=/nonexistent/libtoken.so\n"),
             ["--browser", "chromium"],
             lambda i: [line("host", "starts and answers info: version 1.4, no module loaded"),
                        line("configuration", "%s.cfg names pkcs11Library=/nonexistent/libtoken.so" % i.host)]
             + problem_lines("the host cannot load its PKCS#11 module /nonexistent/libtoken.so: cannot open shared "
                             "object file: No such file or directory", module_fix(i))),
            ("no configuration, so the default module", lambda i: os.unlink(i.host + ".cfg"), ["--browser", "chromium"],
             lambda i: [line("configuration", "%s.cfg not found: the host loads libeTPKCS11.so" % i.host)]
             + problem_lines("the host cannot load its PKCS#11 module libeTPKCS11.so: cannot open shared object "
                             "file: No such file or directory", module_fix(i, create=True))),
            ("module that does not start", lambda i: i.use_fault_module("fail C_Initialize CKR_DEVICE_ERROR"),
             ["--browser", "chromium"],
             lambda i: problem_lines("the PKCS#11 module %s loads but does not start (its C_Initialize fails)"
                                     % FAULT_MODULE, "check the module's own configuration, or " + module_fix(i))),
            ("program that is no host", lambda i: write_script(i.host, "exec /bin/cat\n"), ["--browser", "chromium"],
             lambda i: problem_lines("the program is no Vantrel host: its info reply has no version",
                                     "rebuild or reinstall the host (cmake --build build --target vantrel), or "
                                     "register another: %s --root %s --browser chromium --host %s"
                                     % (register, i.root, default_host()))),
            ("host that stops at once", lambda i: write_script(i.host, "echo broken >&2; exit 3\n"),
             ["--browser", "chromium"],
             lambda i: problem_lines('the host stopped without answering (exit status 3): it says "broken"',
                                     "rebuild or reinstall the host (cmake --build build --target vantrel), or "
                                     "register another: %s --root %s --browser chromium --host %s"
                                     % (register, i.root, default_host()))),
        )
        for name, breakage, arguments, expected in cases:
            with self.subTest(name):
                installation = self.fresh()
                breakage(installation)
                result = installation.check(*arguments)
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                block = self.browser_block(result.stdout, "Firefox" if "firefox" in arguments else "Chromium")
                self.assert_in_order(expected(installation), block)
                self.assertRegex(block[-1], r"^  verdict +\w+: NOT WORKING, 1 problem \(fix above\)$")

    def assert_in_order(self, expected, block):
        """expected are consecutive lines of block."""
        for start in range(len(block) - len(expected) + 1):
            if block[start:start + len(expected)] == expected:
                return
        self.fail("\n".join(["expected, one after the other:"] + expected + ["in:"] + block))

    def test_a_module_that_hangs_is_given_up_after_the_time_limit(self):
        installation = self.installation
        installation.use_fault_module("hang C_GetSlotList")
        started = time.monotonic()
        result = installation.check("--browser", "chromium", "--timeout", "5")
        self.assertLess(time.monotonic() - started, 30)
        self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
        self.assert_in_order(
            [line("host", "starts and answers info: version 1.4, module libvantrel_pkcs11_fault.so"),
             line("configuration", "%s.cfg names pkcs11Library=%s" % (installation.host, FAULT_MODULE))]
            + problem_lines("the host did not answer listTokens within 5 s: its module %s does not answer"
                            % FAULT_MODULE, "unplug and plug in the token, restart pcscd (systemctl restart pcscd), "
                            "or name another module in %s.cfg" % installation.host),
            self.browser_block(result.stdout, "Chromium"))
        # The hanging host was ended with its time.
        self.assertEqual(subprocess.run(["pgrep", "-f", installation.host], capture_output=True).stdout, b"")

    def test_no_visible_token_is_a_note_not_a_failure(self):
        installation = self.installation
        installation.use_fault_module("hide")
        result = installation.check("--browser", "chromium")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        block = self.browser_block(result.stdout, "Chromium")
        self.assertEqual(block[-3:], [
            line("note:", "no token is visible through %s" % FAULT_MODULE),
            line("  hint:", "plug in the token (a smart card: is pcscd running?); SoftHSM2 needs SOFTHSM2_CONF in "
                 "the browser's environment"),
            line("verdict", "Chromium: works, but no token is visible through %s" % FAULT_MODULE),
        ])

    def test_installed_browsers_without_a_manifest_are_checked_too(self):
        installation = self.installation
        installation.install_browser("vivaldi")
        installation.add_chromium_profile(installation.staged(HOME + "/.config/vivaldi"), "Default",
                                          {ORIGIN_ID: {"location": 1, "disable_reasons": []}})
        installation.install_browser("firefox-esr")
        result = installation.check()
        self.assertEqual(result.returncode, 1)
        self.assertEqual([text for text in result.stdout.splitlines() if text and not text.startswith(" ")],
                         ["Chromium (registered)", "Vivaldi (installed)", "Firefox (installed and registered)"])
        vivaldi = installation.staged(HOME + "/.config/vivaldi/NativeMessagingHosts/org.vantrel.host.json")
        # The fix names the host the other browsers' manifests name.
        self.assertEqual(self.browser_block(result.stdout, "Vivaldi"),
                         [line("extension", "profile Default: %s, installed by hand (from a package file), enabled"
                               % ORIGIN_ID),
                          line("manifest", "none: Vivaldi looks for %s" % vivaldi)]
                         + problem_lines("org.vantrel.host is not registered for Vivaldi (no manifest)",
                                         "%s --root %s --browser vivaldi --host %s"
                                         % (REGISTER, installation.root, HOST))
                         + [line("verdict", "Vivaldi: NOT WORKING, 1 problem (fix above)")])
        # Running the fix repairs it.
        installation.run("--browser", "vivaldi", "--host", HOST, expect=0)
        self.assertEqual(installation.check("--browser", "vivaldi").returncode, 0)

    def test_the_fixes_it_prints_repair_what_it_found(self):
        installation = self.installation
        # A path relative to the manifest's folder, which only Windows takes.
        installation.edit_manifest(CHROMIUM_MANIFEST, lambda m: m.update(path="../../../../.." + HOST))
        installation.edit_manifest(FIREFOX_MANIFEST, lambda m: m.update(allowed_extensions=[]))
        result = installation.check("--origin", OTHER_ORIGIN)
        self.assertEqual(result.returncode, 1)
        fixes = [text.split("fix:", 1)[1].strip() for text in result.stdout.splitlines() if "  fix: " in text]
        # Chromium's relative path and its list without the origin (one command
        # mends both), Firefox's empty list.
        self.assertEqual(len(fixes), 3, result.stdout)
        self.assertEqual(fixes[0], fixes[1])
        self.assertIn("--host %s --origin %s --origin %s" % (HOST, ORIGIN, OTHER_ORIGIN), fixes[0])
        environment = dict(installation.environment(), PATH=installation.bin + ":/usr/bin:/bin")
        for fix in fixes:
            subprocess.run(fix, shell=True, env=environment, check=True, capture_output=True)
        result = installation.check("--origin", OTHER_ORIGIN)
        self.assertEqual(result.returncode, 0, result.stdout)

    def test_a_per_user_manifest_hides_the_system_wide_one(self):
        installation = self.installation
        installation.run("--system", "--host", HOST, "--browser", "chromium", expect=0)
        installation.edit_manifest(CHROMIUM_MANIFEST, lambda m: m.update(path="vantrel"))
        block = self.registration_block(installation.check("--browser", "chromium").stdout, "Chromium")
        self.assertEqual(block[:2], [
            line("manifest", "%s (per user)" % installation.staged(CHROMIUM_MANIFEST)),
            line("", "%s (system-wide) is not read while the one above is there"
                 % installation.staged("/etc/chromium/native-messaging-hosts/org.vantrel.host.json")),
        ])
        self.assertIn("is relative", block[2])
        # Only the system-wide folders: that one works.
        self.assertEqual(installation.check("--browser", "chromium", "--system").returncode, 0)

    def test_the_fix_for_a_missing_manifest_registers_where_the_check_looked(self):
        profile = os.path.join(self.scratch.name, "profile")
        cases = (
            (["--system"], "system-wide", lambda i: i.staged("/etc/chromium/native-messaging-hosts"),
             lambda i: "%s --system --root %s --browser chromium --host %s" % (REGISTER, i.root, HOST)),
            (["--user-data-dir", profile], "in the --user-data-dir folder",
             lambda i: os.path.join(profile, "NativeMessagingHosts"),
             lambda i: "%s --user-data-dir %s --root %s --browser chromium --host %s" % (REGISTER, profile, i.root,
                                                                                         HOST)),
        )
        for scope_options, scope, folder_of, fix_of in cases:
            with self.subTest(scope):
                installation = self.fresh()
                installation.add_chromium_profile(profile, "Default", {ORIGIN_ID: {"location": 8, "disable_reasons": []}})
                folder, fix = folder_of(installation), fix_of(installation)
                arguments = ["--browser", "chromium", *scope_options]
                block = self.registration_block(installation.check(*arguments).stdout, "Chromium")
                self.assertEqual(block[:3], [line("manifest", "none: Chromium looks for %s/%s.json" % (folder, HOST_NAME))]
                                 + problem_lines("org.vantrel.host is not registered for Chromium (no manifest)", fix))
                environment = dict(installation.environment(), PATH=installation.bin + ":/usr/bin:/bin")
                subprocess.run(fix, shell=True, env=environment, check=True, capture_output=True)
                result = installation.check(*arguments)
                self.assertEqual(result.returncode, 0, result.stdout)
                self.assertIn(line("manifest", "%s/%s.json (%s)" % (folder, HOST_NAME, scope)), result.stdout)

    def test_a_system_wide_host_that_others_can_change_is_a_problem(self):
        installation = self.installation
        installation.run("--system", "--host", HOST, "--browser", "chrome", expect=0)
        os.chmod(os.path.dirname(installation.host), 0o777)
        block = self.browser_block(installation.check("--browser", "chrome", "--system").stdout, "Google Chrome")
        folder = os.path.dirname(installation.host)
        sudo = "" if os.geteuid() == 0 else "sudo "
        self.assert_in_order(problem_lines(
            "every user's browser starts this host, but %s is writable by group or others (mode 0777)" % folder,
            "%schown root:root %s && %schmod go-w %s" % (sudo, folder, sudo, folder)), block)

    def test_system_wide_manifest_folders_and_modules_that_others_can_change_are_problems(self):
        """What vantrel-register --system refuses, --check names with its fix."""
        chrome_folder = "/etc/opt/chrome/native-messaging-hosts"
        manifest_lead = "every user's browser reads this manifest, but "
        module_lead = "every user's host loads the PKCS#11 module its .cfg names, but "

        def stage_module(installation, module_mode=0o644, folder_mode=0o755):
            # The module the .cfg names, as the staged system has it; the host
            # still loads the real one, so nothing else goes wrong.
            module = installation.staged(SOFTHSM_MODULE)
            os.makedirs(os.path.dirname(module))
            shutil.copy(SOFTHSM_MODULE, module)
            os.chmod(module, module_mode)
            os.chmod(os.path.dirname(module), folder_mode)
            return module

        nobody = pwd.getpwnam("nobody").pw_uid
        cases = [
            ("manifest folder 0777", lambda i: os.chmod(i.staged(chrome_folder), 0o777) or i.staged(chrome_folder),
             manifest_lead + "%s is writable by group or others (mode 0777)"),
            ("a writable parent", lambda i: os.chmod(i.staged("/etc/opt"), 0o777) or i.staged("/etc/opt"),
             manifest_lead + "%s is writable by group or others (mode 0777)"),
            ("module file 0666", lambda i: stage_module(i, module_mode=0o666),
             module_lead + "%s is writable by group or others (mode 0666)"),
            ("module folder 0777", lambda i: os.path.dirname(stage_module(i, folder_mode=0o777)),
             module_lead + "%s is writable by group or others (mode 0777)"),
        ]
        if os.geteuid() == 0:
            cases += [
                ("manifest folder of another user",
                 lambda i: os.chown(i.staged(chrome_folder), nobody, nobody) or i.staged(chrome_folder),
                 manifest_lead + "%s is owned by user " + str(nobody) + ", not by root"),
                ("module of another user",
                 lambda i: os.chown(stage_module(i), nobody, nobody) or i.staged(SOFTHSM_MODULE),
                 module_lead + "%s is owned by user " + str(nobody) + ", not by root"),
            ]
        sudo = "" if os.geteuid() == 0 else "sudo "
        for name, breakage, problem in cases:
            with self.subTest(name):
                installation = self.fresh()
                installation.run("--system", "--host", HOST, "--browser", "chrome", expect=0)
                path = breakage(installation)
                result = installation.check("--browser", "chrome", "--system")
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                block = self.browser_block(result.stdout, "Google Chrome")
                self.assertEqual(block[-1], line("verdict", "Google Chrome: NOT WORKING, 1 problem (fix above)"))
                self.assert_in_order(problem_lines(problem % path, "%schown root:root %s && %schmod go-w %s"
                                                   % (sudo, path, sudo, path)), block)

    def test_the_extension_in_each_profile_how_it_came_and_the_fix_when_it_is_not_there(self):
        chromium_data = HOME + "/.config/chromium"
        policy = "/etc/chromium/policies/managed/vantrel.json"
        firefox_policy = "/etc/firefox-esr/policies/policies.json"

        def chromium_profile(name, extensions):
            return lambda i: i.add_chromium_profile(i.staged(chromium_data), name, extensions)

        def firefox_only(addons):
            def change(i):
                shutil.rmtree(i.staged(HOME + "/.mozilla/firefox"))
                if addons is not None:
                    i.add_firefox_profile("x.default", "default", addons)
            return change

        def with_policy(path, text):
            def change(i):
                os.makedirs(os.path.dirname(i.staged(path)), exist_ok=True)
                with open(i.staged(path), "w") as stream:
                    stream.write(text)
            return change

        def both(*changes):
            return lambda i: [change(i) for change in changes]

        install_fix = ("install the Vantrel package, which installs the extension for every user by policy "
                       "(sudo apt install ./vantrel_<version>_<arch>.deb); or, to develop, load the checkout's "
                       "extension/ folder (%s)")
        forced = json.dumps({"policies": {"ExtensionSettings": {FIREFOX_ID: {"installation_mode": "force_installed"}}}})
        cases = (
            # name, change, browser, expected lines, problems
            ("a second profile without it", chromium_profile("Profile 1", {"x" * 32: {"location": 1}}), "chromium",
             [line("extension", "profile Default: %s, installed by hand (unpacked), enabled" % ORIGIN_ID)]
             + problem_lines("the Vantrel extension (%s) is not installed in profile Profile 1" % ORIGIN_ID,
                             install_fix % "chrome://extensions, Developer mode, Load unpacked"), 1),
            ("not there, but the package's policy is",
             both(chromium_profile("Default", {}), with_policy(policy, "{}")), "chromium",
             problem_lines("the Vantrel extension (%s) is not installed in profile Default" % ORIGIN_ID,
                           "restart Chromium: the policy %s installs it when it starts" % policy), 1),
            ("turned off", chromium_profile("Default", {ORIGIN_ID: {"location": 4, "disable_reasons": [1]}}), "chromium",
             problem_lines("profile Default: %s, installed by hand (unpacked), DISABLED" % ORIGIN_ID,
                           "turn it on in Chromium's extensions page (chrome://extensions), in profile Default"), 1),
            ("installed by policy", chromium_profile("Default", {ORIGIN_ID: {"location": 7, "disable_reasons": []}}),
             "chromium", [line("extension", "profile Default: %s, installed by policy, enabled" % ORIGIN_ID)], 0),
            ("a temporary Firefox add-on", firefox_only([{"id": FIREFOX_ID, "active": True, "location": "app-temporary"}]),
             "firefox", [line("extension", "profile default: %s, installed by hand (as a temporary add-on), enabled"
                              % FIREFOX_ID)], 0),
            ("a Firefox add-on turned off",
             firefox_only([{"id": FIREFOX_ID, "active": False, "userDisabled": True, "location": "app-profile"}]),
             "firefox", problem_lines("profile default: %s, installed by hand, DISABLED" % FIREFOX_ID,
                                      "turn it on in Firefox's extensions page (about:addons), in profile default"), 1),
            ("no Firefox profile and no policy", firefox_only(None), "firefox",
             problem_lines("Firefox has no profile in {root}%s/.mozilla/firefox, and no policy installs the extension"
                           % HOME,
                           install_fix % "about:debugging, Load Temporary Add-on"), 1),
            ("no Firefox profile yet, and the policy", both(firefox_only(None), with_policy(firefox_policy, forced)),
             "firefox", [line("extension", "no profile yet in {root}%s/.mozilla/firefox; the policy %s installs the "
                              "extension at the first start" % (HOME, firefox_policy))], 0),
        )
        for name, change, browser, expected, problems in cases:
            with self.subTest(name):
                installation = self.fresh()
                change(installation)
                result = installation.check("--browser", browser)
                self.assertEqual(result.returncode, 1 if problems else 0, result.stdout + result.stderr)
                block = self.browser_block(result.stdout, "Firefox" if browser == "firefox" else "Chromium")
                self.assert_in_order([text.replace("{root}", installation.root) for text in expected], block)
                if problems:
                    self.assertRegex(block[-1], r"NOT WORKING, 1 problem \(fix above\)$")

    def test_nothing_installed_or_registered(self):
        installation = self.installation
        installation.run("--uninstall", "--host", HOST, expect=0)
        result = installation.check()
        self.assertEqual(result.returncode, 1)
        self.assertTrue(result.stdout.startswith("No browser found: none of chromium, chromium-browser, "), result.stdout)
        self.assertIn("  fix: install a browser, or register for the one you use: %s --browser chromium --host "
                      % REGISTER, result.stdout)


def write_script(path, body):
    with open(path, "w") as stream:
        stream.write("#!/bin/sh\n" + body)
    os.chmod(path, 0o755)


def default_host():
    """The host vantrel-register names when it knows no other: the checkout's."""
    host = os.path.join(SOURCE, "build", "vantrel")
    return host if os.access(host, os.X_OK) else "/path/to/vantrel"


def module_fix(installation, create=False):
    proxies = sorted(p for p in (os.path.join("/usr/lib", d, "p11-kit-proxy.so") for d in os.listdir("/usr/lib"))
                     if os.path.isfile(p))
    line = "pkcs11Library=" + (proxies[0] if proxies else "/path/to/your-pkcs11-module.so")
    cfg = installation.host + ".cfg"
    if create:
        return "create %s with the line %s (or your token's PKCS#11 module)" % (cfg, line)
    return "name your token's PKCS#11 module in %s, e.g. %s" % (cfg, line)


if __name__ == "__main__":
    unittest.main()
