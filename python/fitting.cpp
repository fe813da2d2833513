// SPDX-License-Identifier: GPL-3.0-or-later
// qvt2.fit, Sweep.fit and the FitResult they return: the fits of analysis/ for numpy arrays.
#include "fitting.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>

#include "fit.h"
#include "result.h"

namespace py = pybind11;
using namespace py::literals;

namespace qvt::python {

namespace {

using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

// A fit's outcome with what its call needs: the model and the values in the model's order.
struct TFitResult {
  analysis::FitModelSpec Model;
  analysis::FitResult Result;
  std::vector<double> Values;

  py::dict Params() const {
    py::dict d;
    for (const analysis::FitParameter& p : Result.parameters)
      d[py::str(p.name)] = p.value;
    return d;
  }
  py::dict Errors() const {
    py::dict d;
    for (const analysis::FitParameter& p : Result.parameters)
      d[py::str(p.name)] = p.error ? py::object(py::float_(*p.error)) : py::object(py::none());
    return d;
  }
  py::array_t<double> Call(const py::object& x) const {
    DoubleArray in = DoubleArray::ensure(x);
    if (!in)
      throw py::value_error("x must be numbers");
    py::array_t<double> out(in.request().shape);
    std::span<const double> xs(in.data(), static_cast<std::size_t>(in.size()));
    std::span<double> ys(out.mutable_data(), static_cast<std::size_t>(out.size()));
    std::string error;
    if (!analysis::FitModelValues(Model, Values, xs, ys, &error))
      throw py::value_error(error);
    return out;
  }
};

DoubleArray Vector(const py::object& values, const char* what) {
  DoubleArray a = DoubleArray::ensure(values);
  if (!a || a.ndim() != 1)
    throw py::value_error(std::string(what) + " must be a one-dimensional sequence of numbers");
  return a;
}

std::vector<analysis::FitValue> Values(const py::object& given, const char* what) {
  std::vector<analysis::FitValue> out;
  if (given.is_none())
    return out;
  if (!py::isinstance<py::dict>(given))
    throw py::value_error(std::string(what) + " must be a dict {name: value}");
  for (auto [key, value] : given.cast<py::dict>()) {
    if (!py::isinstance<py::str>(key))
      throw py::value_error(std::string(what) + ": parameter names are strings");
    if (!py::isinstance<py::float_>(value) && !py::isinstance<py::int_>(value) &&
        !py::hasattr(value, "__float__"))
      throw py::value_error(std::string(what) + ": the value of " + key.cast<std::string>() +
                            " is not a number");
    out.push_back(
        {key.cast<std::string>(), py::reinterpret_borrow<py::object>(value).cast<double>()});
  }
  return out;
}

analysis::FitModelSpec ModelOf(const std::string& model, const py::object& degree) {
  analysis::FitModelSpec wanted;
  const auto builtin = analysis::FitModelByName(model);
  if (builtin == analysis::FitModel::kExpression)
    throw py::value_error("give the formula itself as the model, e.g. 'E*(1-exp(-t/tau))+u0'");
  if (builtin) {
    wanted.model = *builtin;
  } else {
    wanted.model = analysis::FitModel::kExpression;
    wanted.expression = model;
  }
  if (!degree.is_none()) {
    if (wanted.model != analysis::FitModel::kPolynomial)
      throw py::value_error("degree is for the 'polynomial' model only");
    wanted.degree = degree.cast<int>();
  }
  return wanted;
}

TFitResult RunFit(std::span<const double> x, std::span<const double> y,
                  analysis::FitRequest request) {
  request.x = x;
  request.y = y;
  TFitResult out;
  out.Model = request.model;
  {
    py::gil_scoped_release release;
    out.Result = analysis::Fit(request);
  }
  using analysis::FitStatus;
  if (out.Result.status == FitStatus::kBadExpression || out.Result.status == FitStatus::kBadInput)
    throw py::value_error(out.Result.message);
  for (const analysis::FitParameter& p : out.Result.parameters)
    out.Values.push_back(p.value);
  return out;
}

analysis::FitRequest Request(const std::string& model, const py::object& start,
                             const py::object& fixed, const py::object& degree) {
  analysis::FitRequest request;
  request.model = ModelOf(model, degree);
  request.start = Values(start, "start");
  if (!fixed.is_none() && !py::isinstance<py::dict>(fixed) && !py::isinstance<py::str>(fixed)) {
    // Names alone hold those parameters at their starting values.
    for (py::handle name : fixed) {
      const std::string text = py::str(name);
      auto found = std::find_if(request.start.begin(), request.start.end(),
                                [&](const analysis::FitValue& v) { return v.name == text; });
      if (found == request.start.end())
        throw py::value_error("fixed parameter '" + text + "' has no value in start");
      request.fixed.push_back(*found);
    }
  } else {
    request.fixed = Values(fixed, "fixed");
  }
  return request;
}

TFitResult FitArrays(const py::object& x, const py::object& y, const std::string& model,
                     const py::object& start, const py::object& fixed, const py::object& degree) {
  const DoubleArray xs = Vector(x, "x"), ys = Vector(y, "y");
  if (xs.size() != ys.size())
    throw py::value_error("x has " + std::to_string(xs.size()) + " values and y " +
                          std::to_string(ys.size()));
  return RunFit({xs.data(), static_cast<std::size_t>(xs.size())},
                {ys.data(), static_cast<std::size_t>(ys.size())},
                Request(model, start, fixed, degree));
}

TFitResult FitSweep(const TResult& sweep, int channel, const std::string& model,
                    const py::object& t0, const py::object& t1, const py::object& start,
                    const py::object& fixed, const py::object& degree) {
  const DoubleArray t = Vector(sweep.T, "t");
  const DoubleArray v = DoubleArray::ensure(sweep.V);
  std::size_t row = 0;
  const py::list channels = sweep.Channels;
  while (row < channels.size() && channels[row].cast<int>() != channel)
    ++row;
  if (row == channels.size())
    throw py::value_error("channel " + std::to_string(channel) + " is not among the channels " +
                          py::repr(channels).cast<std::string>());
  if (!v || v.ndim() != 2 || static_cast<std::size_t>(v.shape(0)) != channels.size() ||
      v.shape(1) != t.size())
    throw py::value_error("v no longer has one row per channel as long as t");
  analysis::FitRequest request = Request(model, start, fixed, degree);
  if (!t0.is_none())
    request.from = t0.cast<double>();
  if (!t1.is_none())
    request.to = t1.cast<double>();
  if (!(request.from < request.to))
    throw py::value_error("empty range: t0 must be below t1");
  const auto n = static_cast<std::size_t>(t.size());
  return RunFit({t.data(), n}, {v.data() + row * n, n}, std::move(request));
}

constexpr const char* kFitDoc =
    "Fits a model to the points (x, y) by least squares and returns a qvt2.FitResult.\n\n"
    "model: a built-in model, 'proportional' (a*x), 'affine' (a*x+b), 'parabola' "
    "(a*x^2+b*x+c), 'polynomial' (a0+a1*x+...; degree 3 to 5, 3 by default), 'exponential' "
    "(A*exp(-x/tau)+B), 'charge' (A*(1-exp(-x/tau))+B), 'sine' (A*sin(2*pi*f*x+phi)+B), "
    "'damped_sine' (A*exp(-x/tau)*sin(2*pi*f*x+phi)+B), 'power' (A*x^n), 'gaussian' "
    "(A*exp(-(x-mu)^2/(2*sigma^2))+B); or a formula of the generator's evaluator in x (or t) "
    "whose other names are the parameters, e.g. 'E*(1-exp(-t/tau))+u0' (names in any case).\n"
    "start: {name: value} starting values; the built-in models work out the others from the "
    "data, a formula starts them at 1.\n"
    "fixed: {name: value} parameters held at a value (or names held at their start value).\n\n"
    "Points with a non-finite x or y are left out. Standard errors are those of "
    "scipy.optimize.curve_fit (absolute_sigma=False); a parameter the data cannot determine "
    "has the error None. ValueError for an unknown model, a formula that does not compile or "
    "has no parameter, a name that is not a parameter; a fit that fails (too few points, no "
    "convergence, model not finite) returns converged False with the reason in message.";

} // namespace

void DefineFit(py::module_& m) {
  py::class_<TFitResult>(m, "FitResult",
                         "The outcome of qvt2.fit or Sweep.fit; call it with x for the model's "
                         "values (a numpy array).")
      .def_property_readonly("params", &TFitResult::Params, "{name: value} in the model's order.")
      .def_property_readonly("errors", &TFitResult::Errors,
                             "{name: standard error}, None for an undetermined or fixed one.")
      .def_property_readonly(
          "converged", [](const TFitResult& r) { return r.Result.Ok(); },
          "Whether the fit reached a minimum.")
      .def_property_readonly(
          "message", [](const TFitResult& r) { return r.Result.message; },
          "'converged' or why the fit failed.")
      .def_property_readonly(
          "chi2", [](const TFitResult& r) { return r.Result.chi2; },
          "Sum of the squared residuals.")
      .def_property_readonly(
          "r2",
          [](const TFitResult& r) {
            return r.Result.r2 ? py::object(py::float_(*r.Result.r2)) : py::object(py::none());
          },
          "Coefficient of determination, None for constant y.")
      .def_property_readonly(
          "rms", [](const TFitResult& r) { return r.Result.rms; }, "RMS of the residuals.")
      .def_property_readonly(
          "nfev", [](const TFitResult& r) { return r.Result.evaluations; },
          "Passes of the model over the points, the derivatives' included.")
      .def_property_readonly(
          "nit", [](const TFitResult& r) { return r.Result.iterations; }, "Iterations.")
      .def_property_readonly(
          "npoints", [](const TFitResult& r) { return r.Result.points; }, "Points fitted.")
      .def_property_readonly(
          "left_out", [](const TFitResult& r) { return r.Result.leftOut; },
          "Points left out because x or y is not finite.")
      .def_property_readonly(
          "model", [](const TFitResult& r) { return r.Result.formula; },
          "The model's formula, e.g. 'A*(1-exp(-x/tau))+B'.")
      .def("__call__", &TFitResult::Call, "x"_a, "The model's values at x (numpy array).")
      .def("__repr__", [](const TFitResult& r) {
        return "<qvt2.FitResult " + r.Result.formula + " " +
               py::repr(r.Params()).cast<std::string>() +
               (r.Result.Ok() ? "" : " (" + r.Result.message + ")") + ">";
      });

  m.def("fit", &FitArrays, "x"_a, "y"_a, "model"_a, "start"_a = py::none(), "fixed"_a = py::none(),
        "degree"_a = py::none(), kFitDoc);

  // Sweep.fit, added to the class defined with the module.
  py::object sweep = m.attr("Sweep");
  sweep.attr("fit") = py::cpp_function(
      &FitSweep, py::name("fit"), py::is_method(sweep), "channel"_a, "model"_a, "t0"_a = py::none(),
      "t1"_a = py::none(), "start"_a = py::none(), "fixed"_a = py::none(), "degree"_a = py::none(),
      "Fits a model to one channel's samples against t between t0 and t1 (s; the whole sweep "
      "by default); the arguments and result are those of qvt2.fit.");
}

} // namespace qvt::python
