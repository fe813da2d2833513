// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2ctl fit: a model fitted to one channel of a measurement file, between two times, with
// the values and their standard errors as text or JSON.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "commands.h"
#include "fit.h"
#include "measure_file.h"
#include "values.h"

namespace qvt::cli {

namespace {

std::string Number(double value) {
  if (!std::isfinite(value))
    return "null";
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string Number(const std::optional<double>& value) {
  return value ? Number(*value) : "null";
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

const char* StatusKey(analysis::FitStatus status) {
  switch (status) {
  case analysis::FitStatus::kConverged:
    return "converged";
  case analysis::FitStatus::kNotConverged:
    return "not_converged";
  case analysis::FitStatus::kNotFinite:
    return "not_finite";
  case analysis::FitStatus::kTooFewPoints:
    return "too_few_points";
  case analysis::FitStatus::kBadExpression:
    return "bad_expression";
  case analysis::FitStatus::kBadInput:
    return "bad_input";
  case analysis::FitStatus::kCancelled:
    return "cancelled";
  }
  return "";
}

// A time ("2ms", "-1.5 s", "0").
double TimeOption(const TArguments& a, const char* option) {
  const std::string& text = *a.Last(option);
  const auto value = ParseAmount(text, "s");
  if (!value)
    throw TUsageError(
        Refused(option, text, Say("un temps (« 2ms », « 0.5 s »)", "a time (\"2ms\", \"0.5 s\")")));
  return *value;
}

// "NAME=VALUE", the value with an optional unit and prefix (s, V, Hz, A, rad, or none).
std::vector<analysis::FitValue> NamedValues(const TArguments& a, const char* option) {
  std::vector<analysis::FitValue> out;
  for (const std::string& text : a.All(option)) {
    const std::size_t equal = text.find('=');
    std::optional<double> value;
    if (equal != std::string::npos && equal > 0)
      for (const char* unit : {"s", "V", "Hz", "A", "rad", "Ω"})
        if (!value)
          value = ParseAmount(std::string_view(text).substr(equal + 1), unit);
    if (!value)
      throw TUsageError(
          Refused(option, text, Say("NOM=VALEUR (« tau=5ms »)", "NAME=VALUE (\"tau=5ms\")")));
    out.push_back({text.substr(0, equal), *value});
  }
  return out;
}

} // namespace

int RunFit(const TWords& args, const TGlobalOptions&) {
  const TArguments a =
      ReadArguments(args, {"--json"},
                    {"--channel", "--model", "--from", "--to", "--start", "--fixed", "--degree"});
  if (a.Words.size() != 1)
    throw TUsageError(a.Words.empty()
                          ? Say("fit : fichier manquant", "fit: file missing")
                          : Refused("fit", a.Words[1], "FILE.qvtm --channel N --model NAME", true));
  if (!a.Last("--model"))
    throw TUsageError(Say("fit : --model manquant", "fit: --model missing"));

  analysis::FitRequest request;
  const std::string& model = *a.Last("--model");
  if (const auto builtin = analysis::FitModelByName(model);
      builtin && *builtin != analysis::FitModel::kExpression) {
    request.model.model = *builtin;
  } else {
    request.model.model = analysis::FitModel::kExpression;
    request.model.expression = model;
  }
  if (const std::string* degree = a.Last("--degree")) {
    if (request.model.model != analysis::FitModel::kPolynomial || *degree < "3" || *degree > "5" ||
        degree->size() != 1)
      throw TUsageError(
          Refused("--degree", *degree,
                  Say("3, 4 ou 5 avec --model polynomial", "3, 4 or 5 with --model polynomial")));
    request.model.degree = (*degree)[0] - '0';
  }
  if (a.Last("--from"))
    request.from = TimeOption(a, "--from");
  if (a.Last("--to"))
    request.to = TimeOption(a, "--to");
  if (!(request.from < request.to))
    throw TUsageError(Say("fit : --from doit précéder --to", "fit: --from must come before --to"));
  request.start = NamedValues(a, "--start");
  request.fixed = NamedValues(a, "--fixed");

  TMeasurement m;
  std::string error;
  if (!ReadMeasureFile(a.Words[0], m, error))
    throw std::runtime_error(error);
  std::string channels;
  const TMeasureChannel* y = nullptr;
  for (const TMeasureChannel& c : m.Channels) {
    channels += (channels.empty() ? "" : ", ") + std::to_string(c.Channel);
    if (a.Last("--channel") && *a.Last("--channel") == std::to_string(c.Channel))
      y = &c;
  }
  if (!a.Last("--channel") && m.Channels.size() == 1)
    y = &m.Channels[0];
  if (!y)
    throw TUsageError(a.Last("--channel") ? Refused("--channel", *a.Last("--channel"), channels)
                                          : Say("fit : --channel manquant ; voies du fichier : ",
                                                "fit: --channel missing; the file's channels: ") +
                                                channels);
  // In point mode the points lie against the abscissa channel, as the window draws them.
  const std::vector<double>* x = &m.Time;
  if (m.Mode == TMeasureMode::Point && !m.Channels.empty()) {
    x = &m.Channels[0].Values;
    for (const TMeasureChannel& c : m.Channels)
      if (c.Channel == m.Abscissa)
        x = &c.Values;
  }
  request.x = *x;
  request.y = y->Values;
  analysis::FitOptions options;
  options.cancel = &CancelRequested;
  const analysis::FitResult r = analysis::Fit(request, options);
  if (r.status == analysis::FitStatus::kBadExpression || r.status == analysis::FitStatus::kBadInput)
    throw TUsageError((request.model.model == analysis::FitModel::kExpression ? "--model: " : "") +
                      r.message);
  if (r.status == analysis::FitStatus::kCancelled)
    return kExitCancelled;

  std::string out;
  if (a.Has("--json")) {
    out = "{\"model\":" + Quoted(model) + ",\"formula\":" + Quoted(r.formula) +
          ",\"channel\":" + std::to_string(y->Channel) +
          ",\"converged\":" + (r.Ok() ? "true" : "false") +
          ",\"status\":" + Quoted(StatusKey(r.status)) + ",\"message\":" + Quoted(r.message);
    std::string params, errors;
    for (const analysis::FitParameter& p : r.parameters) {
      // A failed fit's values mean nothing: null, as its errors.
      params +=
          (params.empty() ? "" : ",") + Quoted(p.name) + ":" + (r.Ok() ? Number(p.value) : "null");
      errors += (errors.empty() ? "" : ",") + Quoted(p.name) + ":" + Number(p.error);
    }
    out += ",\"params\":{" + params + "},\"errors\":{" + errors + "}";
    out += ",\"chi2\":" + Number(r.chi2) + ",\"r2\":" + Number(r.r2) + ",\"rms\":" + Number(r.rms) +
           ",\"iterations\":" + std::to_string(r.iterations) +
           ",\"points\":" + std::to_string(r.points) +
           ",\"left_out\":" + std::to_string(r.leftOut) + "}\n";
  } else if (r.Ok()) {
    out = "y = " + r.formula + "\n";
    for (const analysis::FitParameter& p : r.parameters) {
      char line[160];
      if (p.fixed)
        std::snprintf(line, sizeof line, "  %s = %.10g (%s)\n", p.name.c_str(), p.value,
                      Say("bloqué", "fixed"));
      else if (p.error)
        std::snprintf(line, sizeof line, "  %s = %.10g ± %.2g\n", p.name.c_str(), p.value,
                      *p.error);
      else
        std::snprintf(line, sizeof line, "  %s = %.10g (%s)\n", p.name.c_str(), p.value,
                      Say("incertitude non déterminée", "undetermined"));
      out += line;
    }
    char line[200];
    std::snprintf(
        line, sizeof line, "  r2 = %s  rms = %.4g  chi2 = %.6g  %s %zu%s\n",
        r.r2 ? Number(*r.r2).c_str() : "—", r.rms, r.chi2, Say("points :", "points:"), r.points,
        r.leftOut
            ? (std::string(", ") + std::to_string(r.leftOut) + Say(" écartés", " left out")).c_str()
            : "");
    out += line;
    out += (French() ? analysis::FitStatusText(r) : r.message) + "\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  if (!r.Ok()) {
    std::fprintf(stderr, "qvt2ctl: %s\n",
                 (French() ? analysis::FitStatusText(r) : r.message).c_str());
    return kExitDevice;
  }
  return kExitDone;
}

} // namespace qvt::cli
