// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl sweep and qvt2ctl measure: sweeps through the headless sweep layer, written out or
// measured.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>

#include "commands.h"
#include "measure_text.h"
#include "measurer.h"
#include "oscillo_rules.h"
#include "qvt2.h"
#include "sweep_output.h"
#include "values.h"
#include "whole_file.h"

namespace qvt::cli {

namespace {

const std::set<std::string> kSetupFlags{"--pretrigger"};
const std::set<std::string> kSetupValues{"--timebase", "--channels", "--range", "--input",
                                         "--trigger"};

// The sweep the options ask for; the defaults are those of a new window: "1 ms", channel 0,
// 15 V range, BNC input, started at once.
TSweepSetup SetupFromArguments(const TArguments& a) {
  TSweepSetup s;
  s.TimeBase = *ParseTimeBase("1 ms");
  if (const auto* text = a.Last("--timebase")) {
    const auto index = ParseTimeBase(*text);
    if (!index)
      throw TUsageError(Refused("--timebase", *text, TimeBaseChoices(), true));
    s.TimeBase = *index;
  }
  if (const auto* text = a.Last("--channels")) {
    const auto channels = ParseChannels(*text);
    if (!channels)
      throw TUsageError(
          Refused("--channels", *text,
                  Say("des voies distinctes de 0 à 3 séparées par des virgules (0,1,3)",
                      "distinct channels 0 to 3 separated by commas (0,1,3)")));
    s.Channels.fill(false);
    for (int c : *channels)
      s.Channels[static_cast<size_t>(c)] = true;
  }
  ReadRangesAndInputs(a, s);
  if (const auto* text = a.Last("--trigger")) {
    const auto trigger = ParseTrigger(*text);
    if (!trigger)
      throw TUsageError(Refused(
          "--trigger", *text,
          Say("key ou VOIE:rising|falling:NIVEAU (0:rising:0.5 V), niveau de -15 V à 15 V",
              "key or CHANNEL:rising|falling:LEVEL (0:rising:0.5 V), level from -15 V to 15 V")));
    if (trigger->Source > 0 && !s.Channels[static_cast<size_t>(trigger->Source - 1)])
      throw TUsageError(
          Refused("--trigger", *text, Say("une voie de --channels", "a channel of --channels")));
    s.TriggerSource = trigger->Source;
    s.Rising = trigger->Rising;
    s.Level = trigger->Level;
  }
  s.PreTrigger = a.Has("--pretrigger");
  return s;
}

// A bar on a terminal, nothing when stderr is a file or a pipe.
std::function<void(int, int)> ProgressBar() {
  if (::isatty(STDERR_FILENO) == 0)
    return nullptr;
  return [last = -1](int received, int total) mutable {
    const int percent = total > 0 ? received * 100 / total : 0;
    if (percent == last)
      return;
    last = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d %%", std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kWidth - filled), '.').c_str(), percent);
    std::fflush(stderr);
  };
}

void EndProgressBar() {
  if (::isatty(STDERR_FILENO) != 0)
    std::fputs("\r\033[K", stderr);
}

// One sweep; a lost interface becomes TDeviceError, a cancelled sweep passes out.
TSweep Sweep(TQVT2& device, const TSweepSetup& setup) {
  TAcquireControl control;
  control.Cancel = &CancelRequested;
  control.Progress = ProgressBar();
  try {
    TSweep sweep = Acquire(device, setup, control);
    EndProgressBar();
    return sweep;
  } catch (const TScopeError& e) {
    EndProgressBar();
    if (e.Kind == TScopeError::TKind::Cancelled)
      throw;
    throw TDeviceError(
        e.Kind == TScopeError::TKind::Lost
            ? Say("interface perdue pendant le balayage", "the interface was lost during the sweep")
            : Say("interface absente", "the interface is absent"));
  }
}

TSweepFormat FormatFromArguments(const TArguments& a) {
  const std::string* text = a.Last("--format");
  std::string name = text ? *text : "csv";
  if (text == nullptr && a.Last("-o") != nullptr) {
    const std::string& path = *a.Last("-o");
    for (const auto& [ending, format] : {std::pair{".qvtm", "qvtm"}, std::pair{".json", "json"},
                                         std::pair{".m", "matlab"}, std::pair{".M", "matlab"}})
      if (path.ends_with(ending))
        name = format;
  }
  if (name == "csv")
    return TSweepFormat::Csv;
  if (name == "qvtm")
    return TSweepFormat::Qvtm;
  if (name == "matlab")
    return TSweepFormat::Matlab;
  if (name == "json")
    return TSweepFormat::Json;
  throw TUsageError(Refused("--format", name, "csv, qvtm, matlab, json", true));
}

long CountFromArguments(const TArguments& a) {
  const std::string* text = a.Last("--count");
  if (a.Has("--continuous")) {
    if (text != nullptr)
      throw TUsageError(
          Say("--count et --continuous s'excluent", "--count and --continuous exclude each other"));
    return 0;
  }
  if (text == nullptr)
    return 1;
  long count = 0;
  const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), count);
  if (ec != std::errc() || end != text->data() + text->size() || count < 1)
    throw TUsageError(
        Refused("--count", *text, Say("un entier à partir de 1", "a whole number from 1 on")));
  return count;
}

void WriteOut(const std::string& path, const std::string& text) {
  if (path.empty() || path == "-") {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return;
  }
  std::string reason;
  if (!WriteWholeFile(path, text, reason))
    throw std::runtime_error(
        (French() ? "écriture de « " + path + " » impossible (" : "cannot write '" + path + "' (") +
        reason + ")");
}

std::string OptionalNumber(const std::optional<double>& value) {
  if (!value || !std::isfinite(*value))
    return "null";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, *value);
  return std::string(text, result.ptr);
}

} // namespace

void ReadRangesAndInputs(const TArguments& a, TSweepSetup& s) {
  for (const auto& text : a.All("--range")) {
    const auto range = ParseChannelRange(text);
    if (!range)
      throw TUsageError(
          Refused("--range", text,
                  Say("VOIE:CALIBRE, calibres : ", "CHANNEL:RANGE, ranges: ") + RangeChoices()));
    s.Range[static_cast<size_t>(range->Channel)] = range->Range;
  }
  for (const auto& text : a.All("--input")) {
    const auto input = ParseChannelInput(text);
    if (!input)
      throw TUsageError(
          Refused("--input", text, Say("VOIE:bnc ou VOIE:yd", "CHANNEL:bnc or CHANNEL:yd")));
    s.InputYD[static_cast<size_t>(input->Channel)] = input->YD;
  }
}

int RunSweep(const TWords& args, const TGlobalOptions& global) {
  std::set<std::string> flags = kSetupFlags, values = kSetupValues;
  flags.insert("--continuous");
  values.insert({"--count", "--format", "-o", "--compute"});
  const TArguments a = ReadArguments(args, flags, values);
  if (!a.Words.empty())
    throw TUsageError(Refused("sweep", a.Words.front(), "--timebase, --channels, …", true));
  const TSweepSetup setup = SetupFromArguments(a);
  const TSweepFormat format = FormatFromArguments(a);
  const long count = CountFromArguments(a);
  const std::string path = a.Last("-o") ? *a.Last("-o") : "";
  TSweepCompute compute(a.All("--compute"));

  TQVT2 device;
  OpenInterface(device, global);
  for (long n = 1; count == 0 || n <= count; ++n) {
    TSweep sweep;
    try {
      sweep = Sweep(device, setup);
    } catch (const TScopeError&) {
      // Continuous sweeps end this way; what was written is whole.
      if (count == 0 && n > 1)
        return kExitDone;
      std::fputs(Say("qvt2ctl : balayage interrompu\n", "qvt2ctl: sweep cancelled\n"), stderr);
      return kExitCancelled;
    }
    const bool numbered = count != 1 && !path.empty() && path != "-";
    WriteOut(numbered ? NumberedPath(path, n) : path,
             SweepText(sweep, format, compute.Columns(sweep)));
  }
  return kExitDone;
}

int RunMeasure(const TWords& args, const TGlobalOptions& global) {
  std::set<std::string> flags = kSetupFlags;
  flags.insert("--json");
  const TArguments a = ReadArguments(args, flags, kSetupValues);
  if (!a.Words.empty())
    throw TUsageError(Refused("measure", a.Words.front(), "--timebase, --channels, …", true));
  const TSweepSetup setup = SetupFromArguments(a);
  TQVT2 device;
  OpenInterface(device, global);
  TSweep sweep;
  try {
    sweep = Sweep(device, setup);
  } catch (const TScopeError&) {
    std::fputs(Say("qvt2ctl : mesure interrompue\n", "qvt2ctl: measurement cancelled\n"), stderr);
    return kExitCancelled;
  }

  std::vector<analysis::ChannelInput> inputs;
  size_t reference = 0;
  for (size_t k = 0; k < sweep.Channels.size(); ++k) {
    const double range = kRangeVolts[static_cast<size_t>(sweep.Setup.Range[sweep.Channels[k]])];
    const TClipping clipping = k < sweep.Clipping.size() ? sweep.Clipping[k] : TClipping{};
    inputs.push_back({sweep.Volts[k], 1.0 / sweep.SampleRate,
                      sweep.Setup.Positive[sweep.Channels[k]] ? 0 : -range, range, clipping.Low,
                      clipping.High});
    if (sweep.Channels[k] == sweep.Setup.TriggerSource - 1)
      reference = k;
  }
  std::vector<analysis::Measurements> results(inputs.size());
  analysis::Measurer measurer;
  measurer.Measure(inputs, reference, results);

  std::string out;
  if (a.Has("--json")) {
    out = "{\"timebase\":\"" + sweep.TimeBaseLabel + "\",\"channels\":[";
    for (size_t k = 0; k < results.size(); ++k) {
      out += (k > 0 ? ",{" : "{") + std::string("\"channel\":") + std::to_string(sweep.Channels[k]);
      for (analysis::Quantity q : analysis::kAllQuantities)
        out += ",\"" + std::string(analysis::Key(q)) +
               "\":" + OptionalNumber(analysis::ValueOf(results[k], q));
      out += std::string(",\"saturated\":") + (results[k].saturated ? "true" : "false") + "}";
    }
    out += "]}\n";
  } else {
    for (size_t k = 0; k < results.size(); ++k) {
      out += "V" + std::to_string(sweep.Channels[k]) +
             (results[k].saturated ? Say(" (saturée)", " (saturated)") : "") + "\n";
      for (analysis::Quantity q : analysis::kAllQuantities)
        out += "  " + analysis::MeasureText(q, analysis::ValueOf(results[k], q)) + "\n";
    }
  }
  WriteOut("", out);
  return kExitDone;
}

} // namespace qvt::cli
