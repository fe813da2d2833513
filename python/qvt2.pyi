# SPDX-License-Identifier: GPL-3.0-or-later
# Type stub of the qvt2 module (built from C++): the names, arguments and types it offers.
from types import TracebackType
from typing import Iterable, Iterator, Mapping, Sequence

import numpy as np
import numpy.typing as npt

__version__: str

class DeviceError(OSError):
    """The interface could not do what was asked."""

class DeviceAbsent(DeviceError):
    """No interface answers, or it has been closed."""

class DeviceBusy(DeviceError):
    """The interface is in use: already open in this process, or sweeping on another thread."""

class DeviceLost(DeviceError):
    """The interface went away during a sweep; open it again."""

class Sweep:
    """A sweep, or a measurement read from a file."""

    t: npt.NDArray[np.float64]
    """Sample times in s, 0 at the trigger (the point number in a point-mode file)."""
    v: npt.NDArray[np.float64]
    """Shape (len(channels), len(t)): one row of values per channel."""
    channels: list[int]
    units: list[str]
    meta: dict[str, object]
    """timebase, sample_rate, trigger, pretrigger, ranges, date, ..."""
    def save(self, path: str, comment: str = "") -> None:
        """Writes a measurement file (.qvtm)."""
    def measure(self, reference: int | None = None) -> dict[int, dict[str, float | bool | None]]:
        """Automatic measurements per channel (frequency, period, peak_to_peak, min, max, mean,
        rms, amplitude, duty_cycle, rise_time, fall_time, delay, phase, base, top, saturated:
        the converter clipped, and the peak values are None)."""
    def fit(
        self,
        channel: int,
        model: str,
        t0: float | None = None,
        t1: float | None = None,
        start: Mapping[str, float] | None = None,
        fixed: Mapping[str, float] | Iterable[str] | None = None,
        degree: int | None = None,
    ) -> FitResult:
        """Fits a model to one channel's samples against t between t0 and t1 (s); see fit()."""
    def spectrum(
        self, channel: int, window: str = "hann", scale: str = "V", averaging: int = 1
    ) -> tuple[npt.NDArray[np.float64], npt.NDArray[np.float64], list[dict[str, float | int]]]:
        """(f, magnitude, harmonics) as the "Spectre" mode shows them; window as
        scipy.signal.get_window names it (boxcar, hann, hamming, blackmanharris, flattop),
        scale "V" or "dBV", the sweep cut into `averaging` blocks averaged."""
    def derivative(self, channel: int, points: int = 9) -> npt.NDArray[np.float64]:
        """Savitzky-Golay derivative (degree 2, odd points 3 to 51) against time, as long as the
        sweep: scipy.signal.savgol_filter(v, points, 2, deriv=1, delta=1/sample_rate)."""
    def integral(self, channel: int) -> npt.NDArray[np.float64]:
        """Cumulative trapezoid integral against time, 0 at the first sample:
        scipy.integrate.cumulative_trapezoid(v, t, initial=0)."""
    def __len__(self) -> int: ...

class FitResult:
    """The outcome of fit() or Sweep.fit(); call it with x for the model's values."""

    @property
    def params(self) -> dict[str, float]: ...
    @property
    def errors(self) -> dict[str, float | None]:
        """Standard errors as curve_fit's; None for an undetermined or fixed parameter."""
    @property
    def converged(self) -> bool: ...
    @property
    def message(self) -> str: ...
    @property
    def chi2(self) -> float: ...
    @property
    def r2(self) -> float | None: ...
    @property
    def rms(self) -> float: ...
    @property
    def nfev(self) -> int: ...
    @property
    def nit(self) -> int: ...
    @property
    def npoints(self) -> int: ...
    @property
    def left_out(self) -> int: ...
    @property
    def model(self) -> str:
        """The formula, e.g. 'A*(1-exp(-x/tau))+B'."""
    def __call__(self, x: npt.ArrayLike) -> npt.NDArray[np.float64]: ...

class Generator:
    """The function generator: -10 to 10 V, 1 to 9999 Hz; each start returns the frequency obtained."""

    @property
    def running(self) -> bool: ...
    def sine(self, frequency: float, amplitude: float = 1.0, offset: float = 0.0) -> int: ...
    def square(
        self, frequency: float, amplitude: float = 1.0, offset: float = 0.0, duty: float = 0.5
    ) -> int: ...
    def triangle(
        self, frequency: float, amplitude: float = 1.0, offset: float = 0.0, duty: float = 0.5
    ) -> int: ...
    def formula(self, text: str, frequency: float) -> int:
        """A formula of t (0 to 1 over one period) in volts, e.g. '5*sin(2*pi*t)'."""
    def stop(self) -> None: ...

class Log:
    """Iterator of (t, values): t in s from the first point, values in V, one per channel."""

    def __iter__(self) -> Iterator[tuple[float, npt.NDArray[np.float64]]]: ...
    def __next__(self) -> tuple[float, npt.NDArray[np.float64]]: ...
    def close(self) -> None: ...
    def __enter__(self) -> Log: ...
    def __exit__(
        self,
        exc_type: type[BaseException] | None,
        exc: BaseException | None,
        tb: TracebackType | None,
    ) -> None: ...

class Device:
    """An open interface; see open()."""

    @property
    def generator(self) -> Generator: ...
    @property
    def is_open(self) -> bool: ...
    def sweep(
        self,
        timebase: str = "20 ms",
        channels: int | Sequence[int] = [0],
        ranges: Mapping[int, str | float] | None = None,
        trigger: tuple[str, int] | tuple[str, int, float] | None = None,
        pretrigger: bool = False,
    ) -> Sweep:
        """One sweep; timebase "10 µs" to "1 h", ranges "50 mV" to "15 V",
        trigger ("rising" | "falling", channel, level V) or None."""
    def log(self, interval: float = 1.0, channels: Sequence[int] = [0]) -> Log: ...
    def close(self) -> None: ...
    def __enter__(self) -> Device: ...
    def __exit__(
        self,
        exc_type: type[BaseException] | None,
        exc: BaseException | None,
        tb: TracebackType | None,
    ) -> None: ...

def open(simulate: bool = False, device: int | str | None = None) -> Device:
    """Opens the interface; simulate=True uses the virtual interface."""

def read(path: str) -> Sweep:
    """Reads a measurement file (.qvtm)."""

def fit(
    x: npt.ArrayLike,
    y: npt.ArrayLike,
    model: str,
    start: Mapping[str, float] | None = None,
    fixed: Mapping[str, float] | Iterable[str] | None = None,
    degree: int | None = None,
) -> FitResult:
    """Least-squares fit of a built-in model ("proportional", "affine", "parabola",
    "polynomial" with degree 3 to 5, "exponential", "charge", "sine", "damped_sine", "power",
    "gaussian") or of a formula in x or t whose other names are the parameters."""

def timebases() -> list[str]:
    """The time bases' names, shortest first."""
