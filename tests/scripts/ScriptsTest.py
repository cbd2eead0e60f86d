"""Checks of the project's own scripts: the order check, make mutants' clean
run and make clean. Each test works on fake test programs and scratch trees
in a temporary folder of its own."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import mutants  # noqa: E402

# A stand-in for a gtest program: lists its tests, runs those of the filter
# (all of them without one), and hangs in any test named "Hangs", with a
# child that would outlive it. The child hears Ctrl-C as a real test's
# would: a shell script's background commands do not by default.
FAKE = r"""#!/usr/bin/env bash
here=$(dirname "$0")
if [ "${1:-}" = --gtest_list_tests ]; then cat "$here/list.txt"; exit 0; fi
filter=""
for a in "$@"; do case "$a" in --gtest_filter=*) filter=${a#--gtest_filter=} ;; esac; done
[ -n "$filter" ] && echo "$filter" | tr ':' '\n' > "$here/ran.txt"
if grep -q Hangs "$here/list.txt"; then
  echo "[ RUN      ] Fake.Passes"; echo "[       OK ] Fake.Passes (0 ms)"
  echo "[ RUN      ] Fake.Hangs"
  echo $$ > "$here/self.pid"; env --default-signal=INT sleep 300 & echo $! > "$here/child.pid"
  wait
fi
exit 0
"""
HANGS = "Fake.\n  Passes\n  Hangs\n"


def alive(pid):
    """Whether the process still runs, two seconds after it was told to end."""
    for _ in range(20):
        try:
            with open(f"/proc/{pid}/stat") as f:
                if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                    return False
        except OSError:
            return False
        time.sleep(0.1)
    return True


class ScratchTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="emberhaunt-scripts-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)

    def write(self, rel, text, mode=0o644):
        path = os.path.join(self.dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text)
        os.chmod(path, mode)
        return path

    def fake_program(self, listing):
        self.write("tests/list.txt", listing)
        return self.write("tests/fake", FAKE, 0o755)

    def assert_all_ended(self):
        for name in ("self.pid", "child.pid"):
            with open(os.path.join(self.dir, "tests", name)) as f:
                pid = int(f.read())
            self.assertFalse(alive(pid), f"{name} {pid} outlived its end")

    def interrupt(self, command):
        """Starts a command as a terminal starts one in the foreground, and
        presses Ctrl-C once its test hangs (its child is written down last);
        the command's exit code."""
        child = os.path.join(self.dir, "tests", "child.pid")
        if os.path.exists(child):
            os.remove(child)
        proc = subprocess.Popen(command, cwd=self.dir, start_new_session=True, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.exists(child) and os.path.getsize(child):
                break
            time.sleep(0.1)
        os.killpg(proc.pid, signal.SIGINT)
        return proc.wait(timeout=30)


class OrderCheckTest(ScratchTest):
    # Ten instances of one parameterised test, two of another, four plain tests.
    LISTING = ("Plain.\n  First\n  Second\n"
               "Many/Param.\n" + "".join(f"  Works/{i}  # GetParam() = {i}\n" for i in range(10)) +
               "Few/Param.\n  Works/a  # GetParam() = a\n  Works/b  # GetParam() = b\n"
               "Heavy.\n  Slow\n  Last\n")

    def setUp(self):
        super().setUp()
        # A copy of the script beside a costs file of our own.
        self.script = os.path.join(self.dir, "scripts", "test-order.sh")
        os.makedirs(os.path.dirname(self.script))
        shutil.copy(os.path.join(ROOT, "scripts", "test-order.sh"), self.script)
        self.write("tests/order-costs.txt", "# seconds\n5 Heavy.Slow\n0.5 Many/Param.Works\n")

    def order(self, program, seed, shares="1", index="0", options=()):
        return subprocess.run([self.script, *options, program, seed, shares, index], capture_output=True,
                              text=True, cwd=self.dir, timeout=60)

    def ran(self):
        with open(os.path.join(self.dir, "tests", "ran.txt")) as f:
            return f.read().split()

    def test_samples_many_instances_turning_with_the_seed_and_keeps_the_rest(self):
        program = self.fake_program(self.LISTING)
        samples = []
        for seed in ("7", "8"):
            self.assertEqual(self.order(program, seed, options=("--sample", "3")).returncode, 0)
            ran = self.ran()
            many = [t for t in ran if t.startswith("Many/")]
            self.assertEqual(len(many), 3)
            self.assertEqual(len(set(many)), 3)
            self.assertEqual(sorted(set(ran) - set(many)),
                             ["Few/Param.Works/a", "Few/Param.Works/b", "Heavy.Last", "Heavy.Slow",
                              "Plain.First", "Plain.Second"])
            samples.append(sorted(many))
        self.assertNotEqual(samples[0], samples[1])
        # Spread over the instances, not three neighbours.
        numbers = sorted(int(t.rsplit("/", 1)[1]) for t in samples[0])
        self.assertGreater(numbers[-1] - numbers[0], 3)

    def test_shares_are_runs_of_neighbours_cut_by_time_that_together_hold_every_test(self):
        program = self.fake_program(self.LISTING)
        shares = []
        for index in range(3):
            self.assertEqual(self.order(program, "1", "3", str(index)).returncode, 0)
            shares.append(self.ran())
        # In source order: the ten half-second instances fill the first two
        # shares; the five-second test and its neighbour make the last.
        self.assertEqual([t for share in shares for t in share],
                         ["Plain.First", "Plain.Second"] + [f"Many/Param.Works/{i}" for i in range(10)]
                         + ["Few/Param.Works/a", "Few/Param.Works/b", "Heavy.Slow", "Heavy.Last"])
        self.assertEqual(shares[2], ["Heavy.Slow", "Heavy.Last"])
        # Cut thinner than its heaviest test, a share holds nothing: it must
        # not pass as if it had checked something.
        empty = [r for r in (self.order(program, "1", "8", str(i)) for i in range(8)) if "holds no test" in r.stdout]
        self.assertTrue(empty)
        self.assertEqual({r.returncode for r in empty}, {1})

    def test_a_hang_is_ended_with_all_it_started_and_named(self):
        program = self.fake_program(HANGS)
        started = time.monotonic()
        result = self.order(program, "0", options=("--limit", "2"))
        self.assertLess(time.monotonic() - started, 30)
        self.assertEqual(result.returncode, 124)
        self.assertIn("Order check: no end after 2 s, during Fake.Hangs", result.stdout)
        self.assertIn(f"--limit 2 {program} 0 1 0", result.stdout)
        self.assert_all_ended()

    def test_an_interrupt_ends_the_program_and_all_it_started(self):
        program = self.fake_program(HANGS)
        for limit in ("0", "100"):
            self.assertNotEqual(self.interrupt([self.script, "--limit", limit, program, "0"]), 0, limit)
            self.assert_all_ended()


class MutantsCleanRunTest(ScratchTest):
    def test_a_shard_past_its_time_out_ends_whole_and_names_its_test_and_command(self):
        self.fake_program(HANGS)
        problems = []
        started = time.monotonic()
        self.assertFalse(mutants.run_program(self.dir, "fake", 1, 2, problems))
        self.assertLess(time.monotonic() - started, 30)
        report = "\n".join(problems)
        self.assertIn("Fake.Hangs", report)
        self.assertIn("To repeat", report)
        self.assertIn(os.path.join(self.dir, "tests", "fake"), report)
        self.assert_all_ended()

    def test_a_fault_run_past_its_time_out_or_interrupted_ends_whole(self):
        self.fake_program(HANGS)
        self.assertFalse(mutants.run_program(self.dir, "fake", 1, 2))
        self.assert_all_ended()
        # Ctrl-C reaches make mutants alone: its shards lead sessions of their own.
        code = f"import sys; sys.path.insert(0, {os.path.join(ROOT, 'scripts')!r}); import mutants; " \
               f"mutants.run_program({self.dir!r}, 'fake', 1, 100)"
        self.assertNotEqual(self.interrupt([sys.executable, "-c", code]), 0)
        self.assert_all_ended()


class MakeCleanTest(ScratchTest):
    def setUp(self):
        super().setUp()
        # One folder down, so that even ".." stays within the test's own.
        self.tree = os.path.join(self.dir, "tree")
        for rel in ("Makefile", "scripts/clean.sh"):
            os.makedirs(os.path.dirname(os.path.join(self.tree, rel)), exist_ok=True)
            shutil.copy2(os.path.join(ROOT, rel), os.path.join(self.tree, rel))
        self.write("tree/.git/HEAD", "ref: refs/heads/main\n")
        self.write("tree/src/Game.cpp", "// source\n")

    def build_tree(self, folder, project="Emberhaunt"):
        self.write(f"tree/{folder}/CMakeCache.txt", f"CMAKE_PROJECT_NAME:STATIC={project}\n")
        self.write(f"tree/{folder}/CMakeFiles/x.o", "")
        self.write(f"tree/{folder}/bin/emberhaunt", "", 0o755)
        self.write(f"tree/{folder}/bin/config.cfg", "[video]\nfullscreen=1\n")

    def clean(self, *settings):
        # Nothing of an outer make (make test BUILD=...) may reach this one.
        env = {k: v for k, v in os.environ.items()
               if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL", "BUILD", "TEST_BUILD", "FUZZ_BUILD")}
        result = subprocess.run(["make", "--no-print-directory", "clean", *settings], cwd=self.tree, env=env,
                                capture_output=True, text=True, timeout=60)
        return result.returncode, result.stdout, result.stderr

    def files(self):
        return sorted(os.path.relpath(os.path.join(d, f), self.dir)
                      for d, _, names in os.walk(self.dir) for f in names)

    def test_removes_build_trees_keeping_the_players_settings(self):
        for build in ("build", "build//"):
            self.build_tree("build")
            self.build_tree("build-test")
            self.assertEqual(self.clean(f"BUILD={build}"), (0, "", ""), build)
            self.assertEqual([f for f in self.files() if "build" in f], ["tree/build/bin/config.cfg"], build)
        # Again, with only the settings left, and with no build at all.
        self.assertEqual(self.clean(), (0, "", ""))
        shutil.rmtree(os.path.join(self.tree, "build"))
        self.assertEqual(self.clean(), (0, "", ""))

    def test_leaves_any_other_folder_and_says_why(self):
        self.write("tree/notes/todo.txt", "keep me\n")
        self.build_tree("elsewhere", project="SomethingElse")
        self.build_tree("real-build")
        os.symlink("real-build", os.path.join(self.tree, "linked"))
        before = self.files()
        for setting, why in (("BUILD=.", "holds the sources"), ("BUILD=./", "holds the sources"),
                             ("TEST_BUILD=..", "holds the sources"), ("BUILD=src", "not a build tree"),
                             ("FUZZ_BUILD=notes", "not a build tree"), ("BUILD=elsewhere", "not a build tree"),
                             ("BUILD=src/Game.cpp", "not a folder"), ("BUILD=linked", "is a link")):
            code, out, _ = self.clean(setting)
            self.assertNotEqual(code, 0, setting)
            self.assertIn(f"make clean: {setting.split('=', 1)[1]} ", out, setting)
            self.assertIn(why, out, setting)
            self.assertEqual(self.files(), before, setting)


if __name__ == "__main__":
    unittest.main()
