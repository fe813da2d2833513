# SPDX-License-Identifier: GPL-3.0-or-later
# The Python module on the virtual interface: a triggered sweep's arrays and settings, bad
# arguments, Ctrl+C during a sweep, the generator looped to Y0 (measured) and the point log,
# measurement files, clipping, and the interface's absence, loss and single opening.
import os
import signal
import subprocess
import sys
import threading
import time

import numpy as np
import pytest

import qvt2


@pytest.fixture(scope="module")
def dev():
    with qvt2.open(simulate=True) as d:
        yield d


def test_triggered_sweep_gives_arrays_and_settings(dev):
    r = dev.sweep(timebase="20 ms", channels=[1, 0], ranges={0: "5 V"}, trigger=("rising", 1, 0.0))
    assert r.t.dtype == np.float64 and r.v.dtype == np.float64
    assert r.t.shape == (2500,) and r.v.shape == (2, 2500)
    assert r.channels == [1, 0] and r.units == ["V", "V"]
    assert r.t[0] == 0 and r.t[1] == pytest.approx(8e-6)
    y1 = r.v[0]  # the 50 Hz sine of 2 V, rows in the order asked
    assert y1[0] <= 0.01 and y1[1] > -0.01
    assert y1[625] == pytest.approx(2.0, abs=0.05), "the crest a quarter period after the edge"
    assert r.meta["timebase"] == "20 ms" and r.meta["sample_rate"] == 125e3
    assert r.meta["trigger"] == ("rising", 1, pytest.approx(0.0, abs=0.01))
    assert r.meta["ranges"] == {0: "5 V", 1: "15 V"} and r.meta["pretrigger"] is False

    early = dev.sweep("20 ms", 1, trigger=("falling", 1), pretrigger=True)
    assert early.v.shape == (1, 2500)
    assert early.t[0] == pytest.approx(-0.004, abs=1e-4)


@pytest.mark.parametrize(
    "call, accepted",
    [
        (lambda d: d.sweep(timebase="3 ms"), "10 µs, 20 µs, 50 µs"),
        (lambda d: d.sweep(channels=[4]), "0, 1, 2, 3"),
        (lambda d: d.sweep(channels=[0], ranges={0: "3 V"}), "50 mV, 100 mV, 200 mV, 500 mV, 1 V, 2 V, 5 V, 15 V"),
        (lambda d: d.sweep(trigger=("up", 0, 0.0)), "'rising', 'falling'"),
        (lambda d: d.sweep(trigger=("rising", 0, 20.0)), "-14 to 14 V"),
        (lambda d: d.generator.sine(20000), "1 to 9999 Hz"),
        (lambda d: d.generator.formula("2*(t", 100), "a formula of t"),
        (lambda d: d.generator.formula("2**t", 100), "Error parsing expression: 2* T; accepted"),
        (lambda d: d.log(interval=0), "0.01 s and more"),
    ],
)
def test_bad_arguments_raise_valueerror_with_accepted_values(dev, call, accepted):
    with pytest.raises(ValueError) as error:
        call(dev)
    assert accepted in str(error.value)


def test_ctrl_c_stops_a_waiting_sweep_and_the_next_one_works(dev):
    dev.generator.stop()
    sent = []

    def interrupt():
        sent.append(time.monotonic())
        os.kill(os.getpid(), signal.SIGINT)

    timer = threading.Timer(0.3, interrupt)
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        dev.sweep("20 ms", [0], trigger=("rising", 0, 10.0))  # Y0 stays at 0 V: never comes
    stopped = time.monotonic()
    timer.join()
    assert stopped - sent[0] < 0.2
    assert dev.sweep("1 ms", [1]).v.shape == (1, 1200)


def test_generator_drives_y0_and_log_records_it(dev):
    assert dev.generator.sine(1000, amplitude=2.0) == 1000
    r = dev.sweep("5 ms", 0, trigger=("rising", 0, 0.0))
    m = r.measure()[0]
    assert m["frequency"] == pytest.approx(1000, rel=1e-3)
    assert m["peak_to_peak"] == pytest.approx(4.0, abs=0.05) and not m["saturated"]
    dev.generator.formula("3", 100)
    assert dev.generator.running
    with dev.log(interval=0.05, channels=[0, 1]) as log:
        points = [p for _, p in zip(range(4), log)]
    times = [t for t, _ in points]
    assert times == pytest.approx([0, 0.05, 0.1, 0.15])
    assert all(v.shape == (2,) and v[0] == pytest.approx(3.0, abs=0.05) for _, v in points)
    with pytest.raises(StopIteration):
        next(log)
    dev.generator.stop()
    assert not dev.generator.running
    assert np.abs(dev.sweep("1 ms", 0).v).max() < 0.05


def test_saved_sweep_reads_back(dev, tmp_path):
    r = dev.sweep("2 ms", [2, 3])
    path = str(tmp_path / "sweep.qvtm")
    r.save(path, comment="TP 3")
    back = qvt2.read(path)
    np.testing.assert_array_equal(back.t, r.t)
    np.testing.assert_array_equal(back.v, r.v)
    assert back.channels == [2, 3] and back.units == ["V", "V"]
    assert back.meta["timebase"] == "2 ms" and back.meta["comment"] == "TP 3"
    # The window shows the file in the channels' own colours.
    header = open(path, encoding="utf-8").read()
    assert "# col1.colour: ff00ff" in header and "# col2.colour: 00ff00" in header
    (tmp_path / "other.qvtm").write_text("t,y\n0,1\n")
    # The reader's messages reach Python in English.
    with pytest.raises(ValueError, match="not a qvt2 measurement"):
        qvt2.read(str(tmp_path / "other.qvtm"))
    with pytest.raises(FileNotFoundError):
        qvt2.read(str(tmp_path / "none.qvtm"))


def test_one_opening_per_process(dev):
    with pytest.raises(qvt2.DeviceBusy):
        qvt2.open(simulate=True)
    with pytest.raises(ValueError, match="accepted: None, 0"):
        qvt2.open(simulate=True, device=3)


def run_alone(script, sim_options):
    env = dict(os.environ, QVTLINK_SIM=sim_options)
    out = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True, timeout=60)
    return out.stdout.split(), out.stderr


def test_saturated_only_where_the_converter_clipped(tmp_path):
    # On "2 V" the converter measures +-7.5 V: the 9 V sine of Y1 (gain 0.998, flat at
    # +-7.48 V) is clipped, the 3 V one of Y2 only leaves the displayed range. A saved file
    # tells the same.
    path = str(tmp_path / "clipped.qvtm")
    script = (
        "import qvt2\n"
        "r = qvt2.open(simulate=True).sweep('20 ms', [1, 2], ranges={1: '2 V', 2: '2 V'})\n"
        f"r.save({path!r})\n"
        f"for m in (r.measure(), qvt2.read({path!r}).measure()):\n"
        "    print(m[1]['saturated'], m[1]['peak_to_peak'], round(m[1]['frequency'], 1),\n"
        "          m[2]['saturated'], round(m[2]['peak_to_peak'], 2))\n"
    )
    out, err = run_alone(script, "noise=0;glitch=0;y1=sine:73.3:9;y2=sine:73.3:3")
    assert out == ["True", "None", "73.3", "False", "6.0"] * 2, err


def test_absent_interface_raises_deviceabsent():
    script = (
        "import qvt2\n"
        "try:\n"
        "    qvt2.open(simulate=True)\n"
        "except qvt2.DeviceAbsent:\n"
        "    print('absent')\n"
    )
    out, err = run_alone(script, "unplug_after=0")
    assert out == ["absent"], err


def test_interface_lost_while_waiting_raises_devicelost():
    script = (
        "import qvt2\n"
        "dev = qvt2.open(simulate=True)\n"
        "try:\n"
        "    dev.sweep('20 ms', [0], trigger=('rising', 0, 10.0))\n"
        "except qvt2.DeviceLost:\n"
        "    print('lost')\n"
        "try:\n"
        "    dev.sweep('1 ms')\n"
        "except qvt2.DeviceAbsent:\n"
        "    print('closed')\n"
        "try:\n"
        "    qvt2.open(simulate=True)\n"  # not busy: the lost one no longer holds it
        "except qvt2.DeviceAbsent:\n"
        "    print('absent')\n"
    )
    out, err = run_alone(script, "unplug_after=0.5")
    assert out == ["lost", "closed", "absent"], err
