// SPDX-License-Identifier: GPL-3.0-or-later
// The computed-quantity model: the checks of a set of definitions, the order they are
// computed in (what a quantity reads comes first), the evaluators bound to the sample buffers,
// and the loop over the samples.
#include "computed.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "calculus.h"
#include "codepage.h"
#include "formula_unit.h"
#include "numbers.h"
#include "parser.h"
#include "translate.h"
#include "unite.h"

namespace qvt::analysis {

namespace {

constexpr std::size_t kChannels = 4;

// Names and units are the program's code-page texts; the messages are UTF-8 throughout.
std::string Quoted(std::string_view name) {
  return TrArg(translate("Computed", "« %1 »"), {AnsiToUtf8(name)});
}

std::string Upper(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
  return s;
}

bool Contains(std::string_view haystack, std::string_view needle) {
  return Upper(haystack).find(needle) != std::string::npos;
}

// Where a name's values come from while computing.
struct Source {
  enum Kind { kTime, kChannel, kConstant, kQuantity } kind = kTime;
  std::size_t index = 0; // channel, constant or definition
};

// A formula's variable cell and what fills it before each evaluation.
struct Binding {
  double* cell = nullptr;
  Source source;
};

bool IsGap(double v) {
  return v == kNoValue || !std::isfinite(v);
}

} // namespace

struct ComputedModel::Impl {
  std::vector<ComputedDefinition> definitions;
  std::vector<std::string> units;
  std::vector<double> constants; // in SI
  std::vector<std::size_t> order;
  std::vector<std::unique_ptr<TParser>> parsers; // per definition, null unless a formula
  std::vector<std::vector<Binding>> bindings;
  // Per definition: the formula gives the same result for the same inputs (no RND, RANDOM).
  std::vector<bool> repeatable;
  std::vector<std::size_t> sourceOf; // the other kinds: the definition index, or channel + 8
  std::vector<std::vector<double>> values;
  std::vector<double> timeBuffer;
  std::vector<double> scratch;
};

ComputedModel::ComputedModel() : impl_(std::make_unique<Impl>()) {}
ComputedModel::~ComputedModel() = default;

std::size_t ComputedModel::Count() const {
  return impl_->definitions.size();
}
const ComputedDefinition& ComputedModel::Definition(std::size_t k) const {
  return impl_->definitions.at(k);
}
const std::string& ComputedModel::Unit(std::size_t k) const {
  return impl_->units.at(k);
}
std::span<const double> ComputedModel::Values(std::size_t k) const {
  return impl_->values.at(k);
}

std::optional<ComputedError> ComputedModel::Define(std::span<const ComputedChannel> channels,
                                                   std::span<const ComputedConstant> constants,
                                                   std::span<const ComputedDefinition> definitions,
                                                   std::string_view abscissaUnit) {
  auto fail = [](int where, std::string message,
                 ComputedError::Field field = ComputedError::kDefinition) {
    return std::optional<ComputedError>(ComputedError{where, std::move(message), field});
  };
  if (definitions.size() > kMaxComputed)
    return fail(static_cast<int>(kMaxComputed), translate("Computed", "8 grandeurs calculées au plus"));

  // Every name a formula may read, with where its values come from.
  std::map<std::string, Source, CaseInsensitiveLess> names;
  std::map<std::string, Tunite, CaseInsensitiveLess> nameUnits;
  auto parsedUnit = [](std::string_view text) {
    Tunite u;
    u.SetText(text);
    return u;
  };
  names["t"] = Source{Source::kTime, 0};
  nameUnits["t"] = parsedUnit("s");
  for (std::size_t k = 0; k < kChannels; ++k) {
    const std::string vk = "V" + std::to_string(k);
    const Tunite unit = parsedUnit(k < channels.size() ? channels[k].unit : "V");
    names[vk] = Source{Source::kChannel, k};
    nameUnits[vk] = unit;
    if (k < channels.size() && !channels[k].name.empty() && !names.contains(channels[k].name)) {
      names[channels[k].name] = Source{Source::kChannel, k};
      nameUnits[channels[k].name] = unit;
    }
  }

  TParser probe; // the function lists
  auto badName = [&](std::string_view name) -> std::optional<std::string> {
    if (name.empty())
      return translate("Computed", "nom vide");
    if (name.size() > kMaxComputedName)
      return TrArg(translate("Computed", "nom %1 trop long (8 caractères au plus)"), {Quoted(name)});
    if ((name[0] >= '0' && name[0] <= '9') ||
        name.find_first_of("+-*/^(),.;= ") != std::string_view::npos)
      return TrArg(translate("Computed", "nom %1 incorrect"), {Quoted(name)});
    if (Upper(name) == "PI" || Contains(name, "DIV") || Contains(name, "MOD"))
      return TrArg(translate("Computed", "nom %1 réservé"), {Quoted(name)});
    if (probe.OneArgFunctions().contains(name) || probe.TwoArgFunctions().contains(name))
      return TrArg(translate("Computed", "nom %1 déjà pris par une fonction"), {Quoted(name)});
    if (auto found = names.find(name); found != names.end()) {
      switch (found->second.kind) {
      case Source::kTime:
        return TrArg(translate("Computed", "nom %1 réservé au temps"), {Quoted(name)});
      case Source::kChannel:
        return TrArg(translate("Computed", "nom %1 déjà pris par une voie"), {Quoted(name)});
      case Source::kConstant:
        return TrArg(translate("Computed", "nom %1 déjà pris par une constante"), {Quoted(name)});
      case Source::kQuantity:
        return TrArg(translate("Computed", "nom %1 déjà pris par une autre grandeur"), {Quoted(name)});
      }
    }
    return std::nullopt;
  };

  std::vector<double> constantValues;
  for (std::size_t k = 0; k < constants.size(); ++k) {
    const int where = -1 - static_cast<int>(k);
    if (auto why = badName(constants[k].name))
      return fail(where, TrArg(translate("Computed", "Constante : %1"), {*why}), ComputedError::kName);
    Tunite unit = parsedUnit(constants[k].unit);
    if (!unit.Valid)
      return fail(where, TrArg(translate("Computed", "Constante %1 : unité %2 incorrecte"),
                               {Quoted(constants[k].name), Quoted(constants[k].unit)}),
                  ComputedError::kUnit);
    const double value = constants[k].value * std::pow(10.0, unit.Pow10);
    if (!std::isfinite(value))
      return fail(where, TrArg(translate("Computed", "Constante %1 : valeur incorrecte"),
                               {Quoted(constants[k].name)}),
                  ComputedError::kValue);
    unit.Pow10 = 0;
    names[constants[k].name] = Source{Source::kConstant, k};
    nameUnits[constants[k].name] = unit;
    constantValues.push_back(value);
  }

  // The names of the quantities first, so that a formula may read one defined below it.
  for (std::size_t k = 0; k < definitions.size(); ++k) {
    if (auto why = badName(definitions[k].name))
      return fail(static_cast<int>(k),
                  TrArg(translate("Computed", "Grandeur %1 : %2"), {std::to_string(k + 1), *why}),
                  ComputedError::kName);
    names[definitions[k].name] = Source{Source::kQuantity, k};
  }

  // What each quantity reads, checked, and the evaluators compiled.
  const std::size_t n = definitions.size();
  std::vector<std::vector<std::size_t>> reads(n);
  std::vector<std::unique_ptr<TParser>> parsers(n);
  std::vector<std::vector<Binding>> bindings(n);
  std::vector<bool> repeatable(n, true);
  std::vector<std::size_t> sourceOf(n, 0);
  for (std::size_t k = 0; k < n; ++k) {
    const ComputedDefinition& d = definitions[k];
    const int where = static_cast<int>(k);
    const std::string name = Quoted(d.name);
    if (!d.unit.empty() && !parsedUnit(d.unit).Valid)
      return fail(where, TrArg(translate("Computed", "%1 : unité %2 incorrecte"), {name, Quoted(d.unit)}),
                  ComputedError::kUnit);
    if (d.kind == ComputedKind::kFormula) {
      const FormulaNames used = NamesOf(d.formula);
      for (const std::string& f : used.functions) {
        if (!probe.OneArgFunctions().contains(f) && !probe.TwoArgFunctions().contains(f))
          return fail(where, TrArg(translate("Computed", "%1 : fonction inconnue %2"), {name, Quoted(f)}));
        if (Upper(f) == "RND" || Upper(f) == "RANDOM")
          repeatable[k] = false;
      }
      auto parser = std::make_unique<TParser>();
      for (const std::string& v : used.variables) {
        auto found = names.find(v);
        if (found == names.end())
          return fail(where, TrArg(translate("Computed", "%1 : nom inconnu %2"), {name, Quoted(v)}));
        if (found->second.kind == Source::kQuantity)
          reads[k].push_back(found->second.index);
        double* cell = &parser->DefineVariable(v);
        auto& list = bindings[k];
        if (std::none_of(list.begin(), list.end(),
                         [&](const Binding& b) { return b.cell == cell; }))
          list.push_back(Binding{cell, found->second});
      }
      try {
        parser->SetExpression(d.formula);
      } catch (const EMathParserError& error) {
        std::string message = AnsiToUtf8(error.what());
        std::replace(message.begin(), message.end(), '\r', ' ');
        return fail(where, TrArg(translate("Computed", "%1 : formule incorrecte : %2"), {name, message}));
      }
      if (d.formula.find_first_not_of(' ') == std::string::npos)
        return fail(where, TrArg(translate("Computed", "%1 : formule vide"), {name}));
      for (const Binding& b : bindings[k])
        if (b.source.kind == Source::kConstant)
          *b.cell = constantValues[b.source.index];
      parsers[k] = std::move(parser);
    } else {
      auto found = names.find(d.source);
      if (found == names.end() ||
          (found->second.kind != Source::kChannel && found->second.kind != Source::kQuantity))
        return fail(where, TrArg(translate("Computed", "%1 : %2 n'est ni une voie ni une grandeur"),
                                 {name, Quoted(d.source)}));
      if (found->second.kind == Source::kQuantity) {
        reads[k].push_back(found->second.index);
        sourceOf[k] = found->second.index;
      } else {
        sourceOf[k] = kMaxComputed + found->second.index;
      }
      if (d.kind != ComputedKind::kIntegral && !ValidFilterPoints(d.points))
        return fail(where, TrArg(translate("Computed", "%1 : nombre de points impair de 3 à 51"), {name}),
                    ComputedError::kPoints);
    }
  }

  // Depth-first ordering; a grey node met again closes a cycle.
  std::vector<int> state(n, 0);
  std::vector<std::size_t> order;
  std::vector<std::size_t> path;
  std::optional<ComputedError> cycle;
  std::function<bool(std::size_t)> visit = [&](std::size_t k) {
    if (state[k] == 2)
      return true;
    path.push_back(k);
    if (state[k] == 1) {
      std::string chain;
      auto start = std::find(path.begin(), path.end(), k);
      for (auto it = start; it != path.end(); ++it)
        chain += (chain.empty() ? "" : " \xE2\x86\x92 ") + definitions[*it].name;
      cycle = ComputedError{static_cast<int>(k),
                            path.end() - start == 2
                                ? TrArg(translate("Computed", "%1 dépend d'elle-même"),
                                        {Quoted(definitions[k].name)})
                                : TrArg(translate("Computed", "définition circulaire : %1"), {chain})};
      return false;
    }
    state[k] = 1;
    for (std::size_t r : reads[k])
      if (!visit(r))
        return false;
    state[k] = 2;
    path.pop_back();
    order.push_back(k);
    return true;
  };
  for (std::size_t k = 0; k < n; ++k)
    if (!visit(k))
      return cycle;

  // Units, in the computing order so that a quantity's unit is known before it is read.
  std::vector<std::string> units(n);
  std::vector<std::optional<Tunite>> quantityUnits(n);
  const Tunite along = parsedUnit(abscissaUnit);
  for (std::size_t k : order) {
    const ComputedDefinition& d = definitions[k];
    std::optional<Tunite> unit;
    if (!d.unit.empty()) {
      unit = parsedUnit(d.unit);
      unit->Pow10 = 0;
    } else if (d.kind == ComputedKind::kFormula) {
      unit = FormulaUnit(d.formula, [&](std::string_view name) -> std::optional<Tunite> {
        const Source& s = names.find(name)->second;
        if (s.kind == Source::kQuantity)
          return quantityUnits[s.index];
        return nameUnits[std::string(name)];
      });
    } else {
      const std::size_t s = sourceOf[k];
      unit = s >= kMaxComputed
                 ? std::optional<Tunite>(nameUnits["V" + std::to_string(s - kMaxComputed)])
                 : quantityUnits[s];
      try {
        if (unit && along.Valid && d.kind != ComputedKind::kSmoothing) {
          Tunite x = along;
          x.Pow10 = 0;
          if (d.kind == ComputedKind::kDerivative)
            x.Invert();
          unit->Multiply(x);
        }
      } catch (const std::range_error&) {
        unit.reset();
      }
    }
    if (unit && unit->Valid) {
      quantityUnits[k] = unit;
      if (!d.unit.empty()) {
        units[k] = d.unit;
      } else {
        Tunite shown; // unnamed, so that the text is composed from the exponents
        shown.Dim = unit->Dim;
        shown.Kind = unit->Kind;
        units[k] = shown.UnitText(0);
      }
    }
  }

  Impl& m = *impl_;
  m.definitions.assign(definitions.begin(), definitions.end());
  m.units = std::move(units);
  m.constants = std::move(constantValues);
  m.order = std::move(order);
  m.parsers = std::move(parsers);
  m.bindings = std::move(bindings);
  m.repeatable = std::move(repeatable);
  m.sourceOf = std::move(sourceOf);
  m.values.assign(n, {});
  return std::nullopt;
}

std::optional<ComputedError> ComputedModel::CheckSamples(std::size_t samples) const {
  for (std::size_t k = 0; k < impl_->definitions.size(); ++k) {
    const ComputedDefinition& d = impl_->definitions[k];
    if (d.kind != ComputedKind::kFormula && d.kind != ComputedKind::kIntegral &&
        static_cast<std::size_t>(d.points) > samples)
      return ComputedError{static_cast<int>(k),
                           TrArg(translate("Computed", "%1 : %2 points demandés, %3 échantillons seulement"),
                                 {Quoted(d.name), std::to_string(d.points), std::to_string(samples)})};
  }
  return std::nullopt;
}

std::optional<ComputedError> ComputedModel::Compute(const ComputedInput& input) {
  Impl& m = *impl_;
  const std::size_t n = input.samples;
  std::optional<ComputedError> error = CheckSamples(n);
  // The instants, filled only when asked for.
  std::span<const double> time = input.time;
  if (time.size() < n) {
    m.timeBuffer.resize(n);
    for (std::size_t i = 0; i < n; ++i)
      m.timeBuffer[i] = input.t0 + input.dt * static_cast<double>(i);
    time = m.timeBuffer;
  }
  const bool uniform = input.abscissa.size() < n && input.dt > 0;
  const std::span<const double> along =
      input.abscissa.size() >= n ? input.abscissa.first(n) : time.first(n);
  auto channel = [&](std::size_t k) -> std::span<const double> {
    return k < input.channels.size() ? input.channels[k] : std::span<const double>();
  };
  auto read = [&](const Source& s, std::size_t i) {
    switch (s.kind) {
    case Source::kTime:
      return time[i];
    case Source::kChannel: {
      const auto c = channel(s.index);
      return i < c.size() ? c[i] : kNoValue;
    }
    case Source::kConstant:
      return m.constants[s.index];
    case Source::kQuantity:
      return m.values[s.index][i];
    }
    return kNoValue;
  };

  for (std::size_t k : m.order) {
    const ComputedDefinition& d = m.definitions[k];
    std::vector<double>& out = m.values[k];
    out.assign(n, kNoValue);
    if (d.kind == ComputedKind::kFormula) {
      TParser& parser = *m.parsers[k];
      const std::vector<Binding>& bindings = m.bindings[k];
      // A sample whose inputs are those of the one before gets its result again: a flat
      // channel (one not connected) costs no evaluation, and no fault raised 16,000 times.
      const bool repeatable = m.repeatable[k];
      bool same = false;
      for (std::size_t i = 0; i < n; ++i) {
        bool gap = false;
        bool unchanged = repeatable && i > 0;
        for (const Binding& b : bindings) {
          if (b.source.kind == Source::kConstant)
            continue;
          const double v = read(b.source, i);
          gap = gap || IsGap(v);
          unchanged = unchanged && v == *b.cell;
          *b.cell = v;
        }
        if (gap) {
          same = false;
          continue;
        }
        if (unchanged && same) {
          out[i] = out[i - 1];
          continue;
        }
        same = true;
        try {
          out[i] = parser.Value();
        } catch (const EEvaluationError&) {
          // left a gap
        }
      }
      continue;
    }
    const std::size_t s = m.sourceOf[k];
    std::span<const double> y;
    if (s >= kMaxComputed) {
      y = channel(s - kMaxComputed);
      if (y.size() < n) {
        m.scratch.assign(n, kNoValue);
        std::copy(y.begin(), y.end(), m.scratch.begin());
        y = m.scratch;
      }
    } else {
      y = m.values[s];
    }
    y = y.first(n);
    if (d.kind == ComputedKind::kIntegral) {
      if (uniform)
        CumulativeTrapezoid(y, input.dt, input.integralStart, out);
      else
        CumulativeTrapezoid(along, y, input.integralStart, out);
    } else if (static_cast<std::size_t>(d.points) > n) {
      continue;
    } else if (d.kind == ComputedKind::kDerivative) {
      if (uniform)
        SavgolFilter(y, d.points, kDefaultPolyOrder, 1, input.dt, out);
      else
        SavgolDerivativeAgainst(along, y, d.points, kDefaultPolyOrder, out);
    } else if (d.method == SmoothingMethod::kMovingAverage) {
      MovingAverage(y, d.points, out);
    } else {
      SavgolFilter(y, d.points, kDefaultPolyOrder, 0, 1.0, out);
    }
  }
  return error;
}

} // namespace qvt::analysis
