// SPDX-License-Identifier: GPL-3.0-or-later
// A saved measurement (TMeasurement) and its file, ".qvtm": the settings of the sweep or of
// the point-by-point series, then its columns, as UTF-8 text that spreadsheets, numpy and
// pandas read as a CSV file. The layout is described in FORMATS.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qvt {

// The version of the layout this program writes; files of a higher one are refused.
inline constexpr int kMeasureFormatVersion = 1;

// Files above this size are refused before they are read.
inline constexpr std::size_t kMaxMeasureFileBytes = 64u << 20;

// The program's no-value marker (kNoValue of units/numbers.h): a gap in a computed quantity.
inline constexpr double kMeasureNoValue = 1e-26;

enum class TMeasureMode { Oscilloscope, Point };
enum class TMeasureEdge { Rising, Falling };
enum class TMeasureInput { Bnc, Yd };

// One saved channel. Texts are UTF-8 (the program converts its code-page texts at saving).
struct TMeasureChannel {
  int Channel = 0;                 // the interface's channel, 0 to 3
  std::string QuantityName;        // "V1"
  std::string Unit;                // "V"
  std::string Meaning;             // free text, may hold line breaks
  std::uint32_t Colour = 0x0000FF; // 0xRRGGBB
  std::string Range;               // the range's label, "15 V"
  TMeasureInput Input = TMeasureInput::Bnc;
  std::vector<double> Values; // one per row, SI units
  // The converter clipped some of the values at its lower / upper end of scale.
  bool ClippedLow = false;
  bool ClippedHigh = false;

  bool operator==(const TMeasureChannel&) const = default;
};

// The model fitted in the "Modélisation" panel, kept with the measurement; `Model` is empty
// when none was. Values are in SI units, texts UTF-8.
struct TMeasureModel {
  std::string Model;      // a built-in model's key ("charge", "damped_sine") or "expression"
  std::string Expression; // the formula of an expression
  int Degree = 3;         // of a polynomial
  int Channel = -1;       // the interface channel modelled, 0 to 3; -1 for a computed quantity
  std::string Quantity;   // the computed quantity modelled, by its name; empty for a channel
  std::optional<double> From, To; // the range between the markers; none for the whole sweep
  std::string Parameters;         // "A=4.0024;tau=0.0125011;B=0.9969"
  std::string Errors;             // "A=0.0003;tau=2.2e-06;B=": empty when undetermined or held
  std::optional<double> R2;

  bool operator==(const TMeasureModel&) const = default;
};

// One computed quantity ("Calculs") saved as a column after the channels. Texts are UTF-8.
struct TMeasureComputed {
  // Its definition as one line of analysis::ComputedText, "v=1;type=formule;nom=P;unite=W;
  // expr=V0*V1/R"; kept as it stands (measure_computed.h reads it).
  std::string Definition;
  std::string QuantityName;         // "P"
  std::string Unit;                 // as shown: typed, or the unit algebra's; may be empty
  std::uint32_t Colour = 0;         // 0xRRGGBB; 0 stands for the default colour of its rank
  std::optional<double> Mini, Maxi; // the scale typed; none: automatic
  // One per row, SI units; a gap (a value the definition cannot give) is kMeasureNoValue.
  std::vector<double> Values;

  bool operator==(const TMeasureComputed&) const = default;
};

struct TMeasurement {
  // Set by the reader from the file; the writer always writes its own.
  int FormatVersion = kMeasureFormatVersion;
  std::string ProgramVersion;

  std::string DateTime; // ISO 8601 local time, see MeasureDateNow
  std::string Comment;  // free text, may hold line breaks
  TMeasureMode Mode = TMeasureMode::Oscilloscope;
  std::string TimeBase;   // the time base's label, "1 ms"; empty in point mode
  double SampleRate = 0;  // Hz; 0 in point mode
  int TriggerSource = -1; // -1 none (started by the user), else the channel 0 to 3
  TMeasureEdge TriggerEdge = TMeasureEdge::Rising;
  double TriggerLevel = 0; // V
  bool PreTrigger = false;
  // Point mode: the channel (0 to 3) on the horizontal axis; -1 when the file does not say,
  // and then the first saved channel is.
  int Abscissa = -1;

  // Seconds in oscilloscope mode, the point number in point mode; one per row.
  std::vector<double> Time;
  // The saved channels, in column order; each holds as many values as Time.
  std::vector<TMeasureChannel> Channels;
  // The constants the definitions read, one line of analysis::ComputedText each, UTF-8:
  // "v=1;type=constante;nom=R;unite=Ω;valeur=100".
  std::vector<std::string> ComputedConstants;
  // The computed quantities, in column order after the channels; each holds as many values
  // as Time.
  std::vector<TMeasureComputed> Computed;
  TMeasureModel Model;

  bool operator==(const TMeasurement&) const = default;
};

// The program version written into every file, "qvt2 <version>".
std::string MeasureProgramVersion();

// The current local date and time in the form the files hold, "2026-12-08T19:30:05+0100".
std::string MeasureDateNow();

// The column header of the time column ("t (s)", or "num" in point mode) and of a channel
// column (quantity name, then the unit in brackets when it has one: "V1 (V)"). Characters that
// would break the CSV row for other readers (',', ';', '#', '"', line breaks, other control
// characters) become '_'; the exact names are kept in the header lines.
std::string MeasureTimeColumnName(TMeasureMode mode);
std::string MeasureChannelColumnName(const TMeasureChannel& channel);
std::string MeasureComputedColumnName(const TMeasureComputed& computed);

// The header of a file: the column row, then one "# key: value" line per field, with
// "# rows: <rowCount>" when `rowCount` is not negative (a whole file; a recording cannot know
// it). A file's text is this followed by one AppendMeasureRowText per row.
std::string MeasureHeaderText(const TMeasurement& m, long long rowCount);

// One data row: the values with the shortest text that reads back to the same double, ","
// between them, "." as decimal mark, ended by "\n". The values from index `gapsFrom` on are
// computed quantities: kMeasureNoValue and non-finite ones give empty cells. The values
// before it must be finite.
void AppendMeasureRowText(std::string& out, const double* values, std::size_t count,
                          std::size_t gapsFrom = static_cast<std::size_t>(-1));

// One AppendMeasureRowText per row of `m`: time first, then the channels and the computed
// quantities in column order.
void AppendMeasureRows(std::string& out, const TMeasurement& m);

// Checks that `m` can be written: every channel and computed quantity holds as many values as
// Time and every channel value is finite (a computed value that is not is written as a gap).
// Otherwise false with a French message in `error`.
bool CheckMeasurement(const TMeasurement& m, std::string& error);

// The whole text of the file. `m` must pass CheckMeasurement.
std::string MeasureFileText(const TMeasurement& m);

// Writes `m` to `path` atomically: either the whole file appears or an earlier file of that
// name stays as it was. Otherwise false with a French message in `error` naming the file and
// the system's reason.
bool WriteMeasureFile(const std::string& path, const TMeasurement& m, std::string& error);

// Reads a measurement from the text of a file. Refused, with a French message in `error` and
// `m` left unspecified: a text that is not a measurement file (no "# format: qvtm" line), a
// header of a newer format version, a file cut before its declared row count, a row with a
// wrong number of values, a non-numeric or non-finite value (an empty cell is a gap in a
// computed column, and only there), a malformed header value, and a text above
// kMaxMeasureFileBytes. The computed columns are the last columns that all have a
// "col<k>.definition" key; their definitions are not read here (measure_computed.h does), so
// a line of a newer program never stops the file from opening. A last line without its line end is
// the one a recording was writing when it stopped: it is ignored.
bool ParseMeasureText(std::string_view text, TMeasurement& m, std::string& error);

// Reads `path` (refusing a file above kMaxMeasureFileBytes before reading it), then as
// ParseMeasureText; messages end with " : " and the file name.
bool ReadMeasureFile(const std::string& path, TMeasurement& m, std::string& error);

} // namespace qvt
