// SPDX-License-Identifier: GPL-3.0-or-later
// TMainForm: the oscilloscope's main window. It owns everything the user acts on (toolbar,
// channel, trigger and time-base panels, the graph, the generator panel, the status bar),
// the module-wide device object and graphs, and the three timers that drive the program.
//
// The class is big by nature; its code is split by concern:
//   mainform.cpp           creation, activation, the absent-interface panel, closing
//   mainform_layout.cpp    building the toolbar and the panels
//   mainform_keys.cpp      the Ctrl+letter rule, the space bar and the hints
//   mainform_cycle.cpp     oscilloscope configuration and the acquisition cycle
//   mainform_controls.cpp  the handlers of the trigger, time-base and channel controls
//   mainform_cursors.cpp   the value readout and the dragged trigger level
//   mainform_settings.cpp  the settings file
//   mainform_placement.cpp the window placement
//   mainform_gbf_layout.cpp  building the generator panel
//   mainform_generator.cpp the generator panel's handlers
//   mainform_point.cpp     point-by-point mode
//   mainform_dialogs.cpp   the options, calibration and channel dialogs
//   mainform_exchange.cpp  the Matlab file and the transfer to Kalkio
//   mainform_access.cpp    what screen readers are told about the graph
//   mainform_measures.cpp  the "Mesures" panel
//   mainform_fourier.cpp  the "Spectre" mode of the graph
//   mainform_files.cpp     saving and opening measurement files, the CSV export
//   mainform_image.cpp     the graph as an image (clipboard, PNG, SVG) and printed
//   mainform_recording.cpp continuous recording of points and slow sweeps
//   mainform_model.cpp     where the "Modélisation" panel sits and what it is fed
//   mainform_calculs.cpp   the computed quantities ("Calculs")
//   mainform_calc_tools.cpp the range markers shared by the panels, and the tools bar
//
// Every control handler does nothing while Loading is set; handlers shared by the four
// channels take the channel from the sender's "Tag" property. The acquisition loop lets
// pending events run, so handlers can run inside it: Closing, Loading and the visibility of
// StopBtn and EnregistreBtn are the guards.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "channel_controls.h"
#include "computed.h"
#include "graphe_frequences.h"
#include "measure_text.h"
#include "measurer.h"
#include "fourier.h"
#include "range_markers_drag.h"
#include "sweep_cycle.h"

class QBoxLayout;
class QCheckBox;
class QPaintDevice;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableWidget;
class QVBoxLayout;
class QHBoxLayout;
class QProgressBar;
class QScrollArea;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QStatusBar;
class QTimer;
class QToolButton;
class QWindow;

namespace qvt {

class TComputedCurves;
class TCourbe;
class TCourbeOsc;
class TGrapheBase;
class TIniFile;
class TCanvas;
class TLabeledEdit;
class TModelPanel;
class TCalcToolsBar;
class TGuideWindow;
class TLCD99;
class TPaintBox;
class TRadioGroup;
class TShape;
class TSpinButton;
class TUpDown;
struct TMouseInfo;
struct TMeasurement;
struct TCsvFormat;
class TMeasureAppender;
struct TLiveCurves;
class TgraphePoint;

class TMainForm : public QMainWindow {
  Q_OBJECT

public:
  static constexpr int kDesignWidth = 1060;
  static constexpr int kDesignHeight = 801;
  // The smallest graph the window keeps: the axes' captions and a few grid divisions.
  static constexpr int kGraphMinimumWidth = 280;
  static constexpr int kGraphMinimumHeight = 180;

  // Builds the window and runs FormCreate: opens the interface (the red panel shows when it
  // is absent) and loads the settings.
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override; // FormDestroy

  // Start-up, activation, closing.
  void FormCreate();
  void FormActivate();
  void Reconfigure();
  void ComBtnClick();
  void EscapeBtnClick();
  void FileExit();
  void HelpAbout();
  // The user's guide (mainform_help.cpp). F1 anywhere in the program, dialogs included, opens
  // it at the page of what has the focus (HelpTopic); "Aide" at "first-steps".
  void ConnectHelp();
  void HelpBtnClick();
  void ShowGuide(const QString& page);
  QString HelpTopic(const QWidget* focus) const;
  TGuideWindow* Guide = nullptr;         // made at its first use, in the interface language
  QStringList GuideFolders; // where the guide is looked for; empty: beside the program
  // Dialogs (mainform_dialogs.cpp).
  void OptionsBtnClick();
  void EtalonneSeuil();
  void GroupBox6Click(QObject* sender);
  void Shape1MouseDown(QObject* sender);
  // Handing the data on (mainform_exchange.cpp).
  void MatlabBtnClick();
  void RegSaveBtnClick();
  void ShowHint(const QString& hint);

  // Measurement files (mainform_files.cpp).
  void OuvrirBtnClick();
  void SauverBtnClick();
  // Shows the measurement of `path` in the graph: acquisition stopped, the caption naming the
  // file, the cursor readout on it; "Acquisition" goes back to live data. The user's settings
  // stay as they were. False, with a box and nothing changed on screen, for a refused file.
  bool OpenMeasureFile(const QString& path);
  // Saves what the window shows (the opened file, the last sweep, or the recorded points in
  // point mode) to `path`: ".csv" as a spreadsheet export in `csv`, otherwise a measurement
  // file. False with a box naming the file and the reason; no half-written file.
  bool SaveMeasureFile(const QString& path, const TCsvFormat* csv = nullptr);
  // The measurement the window shows, every field filled from the window; false when there is
  // nothing to save yet.
  // With `header`, the settings alone for a recording's start (the points recorded so far in
  // point mode, no sample of a sweep), whatever is shown.
  bool CurrentMeasurement(TMeasurement& m, bool header = false) const;
  void LeaveShownFile(); // back to the live curves (no repaint)
  QString ShownFile;     // the measurement file shown, empty for live data
  // The point graph on the screen: the live one in point mode, the opened file's for a file
  // of points; null while the oscilloscope graph is shown.
  TgraphePoint* ShownPointGraph() const;
  bool ShowsPointFile() const; // an opened file of points is on the screen

  // The graph as an image and printed (mainform_image.cpp).
  void CopyImage();
  // A PNG of the graph as on screen (readout included) at the window's size and pixel ratio
  // when `width` is 0, otherwise redrawn `width` pixels wide.
  bool ExportPng(const QString& path, int width = 0);
  bool ExportSvg(const QString& path); // vector, texts as texts
  bool ExportPdf(const QString& path); // as printed: landscape, fitted, with a caption line
  void ImprimerBtnClick();
  // Draws the graph (traces, axes, trigger marker and the readout when shown) at `size` on
  // `device`, which must be `size` large; the screen's picture is made anew afterwards.
  void DrawGraphOn(QPaintDevice* device);

  // Continuous recording (mainform_recording.cpp).
  void EnregContinuCBClick();
  // Starts recording into `path` (header and the points already recorded); false with a box.
  bool StartRecording(const QString& path);
  void StopRecording(const QString& error = QString());
  bool Recording() const;
  // Sweeps of "1 s" and slower are written to the recording sample by sample as they arrive.
  bool RecordsSweepSamples() const;
  void RecordPointRow(int index);          // after RecordPoint
  void RecordSweepStart();                 // a new sweep is armed
  void RecordSweepSamples(int from, int to); // samples from..to-1 of the sweep arrived
  void ShowRecordingControl();             // shown in point mode and for slow sweeps

  // Oscilloscope mode and the acquisition cycle.
  void ConfigureOscilloscope();
  void StartCycle();
  void TimerTimer();
  void StopBtnClick();
  void EnregistreBtnClick();
  void TempsPaintBoxPaint();
  // Screen readers (mainform_access.cpp): sets the graph's accessible description to the
  // set-up it shows (time base, active channels, trigger; in point mode the abscissa and the
  // channels). Run after each reconfiguration and before each paint of the graph.
  void DescribeGraph();

  // Control handlers.
  void DureeUpDownChangingEx(int newIndex);
  void NbreSpinUpClick();
  void NbreSpinDownClick();
  void SynchroRGClick();
  void SensRGClick();
  void MonocoupCBClick();
  void PreAcqCBClick();
  void SeuilEditExit();
  void SpinButton1UpClick();
  void SpinButton1DownClick();
  void Label1Click(QObject* sender);
  void ComboBox0Change(QObject* sender);
  void CheckBox10Click(QObject* sender);
  void RadioGroup1Click(QObject* sender);

  // Cursors.
  void TempsPaintBoxMouseMove(const TMouseInfo& mouse);
  void TempsPaintBoxMouseDown(const TMouseInfo& mouse);
  void TempsPaintBoxMouseUp(const TMouseInfo& mouse);
  void ShowReadout(int x, int y);
  // (x, y) takes the trigger level's line for a drag.
  bool TriggerLineAt(int x, int y) const;
  void HideReadout();

  // Generator panel.
  void UpdateGeneratorStatus(int state);
  void RefreshGeneratorPanel();
  void GbfPBPaint();
  void MajBtnClick();
  void SpeedButton5Click(QObject* sender);
  void signalRGClick();
  void OffsetScrollScroll();
  void OffsetNulBtnClick();
  void Duty50BtnClick();
  void ExpressionEditChange();
  void ExpressionEditKeyDown(int key);
  void ExpressionEditExit();
  void GBFbtnClick();
  void TimerGBFTimer();
  void StartGeneratorStep(); // the generator's part of every acquisition start

  // Point-by-point mode.
  void ConfigurePointMode();
  void TimerPointTimer();
  void RecordPoint();
  void UndoBtnClick();
  void ResetBtnClick();
  void PointAutoCBClick();
  void EraseMarks();
  void ShowLive();

  // Settings (the settings file) and window placement.
  void LoadSettings();
  void ApplyDemoSetUp(); // the first run on the virtual interface
  void SaveSettings();
  void LoadPlacement();
  void SavePlacement();

  // Measurements and spectra of the sweeps (mainform_measures.cpp, mainform_fourier.cpp).
  // After each complete sweep: the oscilloscope's curves go to AnalyseCurves.
  void AnalyseSweep();
  // Measures (panel shown) and transforms (Spectre mode) `count` samples of the visible
  // curves, taken every time[1] - time[0] seconds, as they are: live sweeps and opened files
  // alike; the visible computed quantities after the channels, in their unit (one with a gap
  // in the sweep is neither measured nor transformed). Delay and phase are taken against
  // channel `reference` when it is visible, else against the first visible channel.
  void AnalyseCurves(const std::array<TCourbeOsc, 4>& curves, std::span<const TCourbe> computed,
                     const TCourbe& time, int count, int reference);
  void MesuresBtnClick();
  void SpectreBtnClick();
  // The panel as tab-separated text: a header line, then one line per channel.
  QString MeasuresText() const;
  void CopyMeasures();
  // The panel under the graph, or beside it when the graph area is wide enough to keep a
  // graph wider than high beside it.
  void PlaceMesuresPanel();
  // The quantities shown, in column order; the panel follows at the next sweep.
  void SetChosenMeasures(std::vector<analysis::Quantity> quantities);
  bool SpectrumShown() const;
  void PaintSpectrum();
  void ShowSpectrumReadout(int x, int y);
  // The two readout labels in `colour` beside the point (x, y) of the paint box, with the
  // marker on it; `above` puts them over the point.
  void PlaceReadout(int x, int y, const QColor& colour, const QString& along,
                    const QString& value, bool above);
  void SpectrumControlsChange(); // window, scale, averaging or f max changed in the bar
  // The mouse over the spectrum: the wheel zooms the frequency range, a drag pans it, a
  // double click goes back to the automatic span. False when it is not the spectrum's.
  bool SpectrumMouseDown(const TMouseInfo& mouse);
  bool SpectrumMouseMove(const TMouseInfo& mouse);
  void SpectrumMouseUp();
  void TempsPaintBoxWheel(const TMouseInfo& mouse);
  void TempsPaintBoxDoubleClick(const TMouseInfo& mouse);

  // The "Modélisation" panel (mainform_model.cpp).
  void ModeleBtnClick();
  void PlaceModelPanel(); // beside the graph, as wide as half the graph area at most
  // The shown sweep, or the points of point mode or of an opened file, to the panel and to
  // the tools bar.
  void FeedModelPanel();
  // The range markers, the panel's curve, the tools' figure and the panel's legend over the
  // graph just painted on `canvas`.
  void PaintModel(TCanvas& canvas);
  // The abscissa curve the panel models against; null when the panel is hidden or the graph
  // shows no time nor points (spectrum, live point mode).
  const TCourbe* ModelAbscissa() const;
  // The model shown goes into a measurement being saved; an opened file's model is shown.
  void KeepModel(TMeasurement& m) const;
  void ShowFileModel();
  // The panel shown or not, its model, degree, expression and "Résidus", [Modelisation].
  void LoadModelSettings(const TIniFile& ini);
  void SaveModelSettings(TIniFile& ini) const;

  // The computed quantities, "Calculs" (mainform_calculs.cpp).
  void CalculsBtnClick();
  // The four channels as the formulas name them (the quantity names and units of the mode
  // shown), and the unit derivatives and integrals are taken against.
  std::array<analysis::ComputedChannel, 4> ComputedChannels() const;
  std::string ComputedAbscissaUnit() const;
  // The quantities computed from what the graph shows (a sweep, an opened file, the recorded
  // points) and handed to the graphs: after each sweep, each point and each file opened.
  void ComputeQuantities();
  std::size_t ComputedIntegralStart() const; // the sample of the left marker
  // The user's set, kept in the settings file.
  TComputedCurves& ComputedQuantities() { return *Computed; }
  // The set the graph shows: an opened file's own when it has one, else the user's.
  TComputedCurves& ShownComputed() { return FileComputed ? *FileComputed : *Computed; }
  const TComputedCurves& ShownComputed() const { return FileComputed ? *FileComputed : *Computed; }
  // The shown set's columns (definitions and the values of `m`'s rows) into a measurement
  // being saved or recorded; an opened file's own set, unedited, stays as the file has it.
  void KeepComputed(TMeasurement& m) const;
  // An opened file's set shown (its warnings in the status bar), and given up on leaving it.
  void ShowFileComputed();
  void LeaveFileComputed();
  // The shown set's values at sample (or point) `index` after a recorded row's channels.
  void AppendComputedValues(std::vector<double>& row, int index) const;
  // The range markers ("bornes") that "Modélisation" and the tools share, and the tools bar
  // under the graph: "Tangente", "Pente", "Aire", "Statistiques" (mainform_calc_tools.cpp).
  void BuildCalcToolsButton(QHBoxLayout* row);
  void BuildCalcToolsBar(QVBoxLayout* column);
  void OutilsBtnClick();
  void FeedCalcTools(); // the shown sweep or points to the bar
  // What the graph shows to the panel and the tools: its abscissa, the channels then the
  // computed quantities it holds (Index 4 + k), how many values they hold and, in point mode,
  // the Index of the curve on the horizontal axis (a computed quantity may be); `x` null when
  // the graph shows neither a sweep nor points.
  struct TShownCurves {
    const TGrapheBase* graph = nullptr;
    const TCourbe* x = nullptr;
    std::vector<const TCourbe*> curves;
    int count = 0;
    int abscissa = -1;
  };
  TShownCurves ShownCurves() const;
  // The markers are shown with the panel, or with the bar on a tool that reads them, over the
  // time or the points' abscissa; null otherwise (spectrum, neither shown).
  const TCourbe* MarkersAbscissa() const;
  // The tools' figure over the plot painted with abscissa `x`.
  void PaintCalcTools(TCanvas& canvas, const TRect& plot, const TCourbe& x);
  // The mouse over the graph for the markers, then the tangent's point; true when taken.
  bool GraphToolsMouseDown(const TMouseInfo& mouse);
  bool GraphToolsMouseMove(const TMouseInfo& mouse);
  bool GraphToolsMouseUp();
  QToolButton* OutilsBtn = nullptr;
  TCalcToolsBar* CalcTools = nullptr; // in CalcToolsArea, shown and hidden with it
  QScrollArea* CalcToolsArea = nullptr;
  TRangeMarkers Markers;
  TRangeMarkerDrag MarkerDrag{Markers};

  // The status bar's one text.
  QString StatusText() const;
  void SetStatusText(const QString& text);

  // Toolbar.
  QWidget* ToolBar1 = nullptr;
  QToolButton* OptionsBtn = nullptr;
  QToolButton* GBFbtn = nullptr;
  QToolButton* AutoSetBtn = nullptr;
  QToolButton* RegSaveBtn = nullptr;
  QToolButton* MatlabBtn = nullptr;
  QToolButton* HelpBtn = nullptr;
  QToolButton* PlusBtn = nullptr;
  QToolButton* ExitBtn = nullptr;
  QToolButton* OuvrirBtn = nullptr;
  QToolButton* SauverBtn = nullptr;
  QToolButton* ImageBtn = nullptr;
  QToolButton* ImprimerBtn = nullptr;
  QCheckBox* EnregContinuCB = nullptr;
  QToolButton* StopBtn = nullptr;
  QLineEdit* Edit1 = nullptr;
  QToolButton* EnregistreBtn = nullptr;
  QToolButton* UndoBtn = nullptr;
  QToolButton* ResetBtn = nullptr;
  QToolButton* MesuresBtn = nullptr;
  QToolButton* SpectreBtn = nullptr;
  QToolButton* ModeleBtn = nullptr;
  QToolButton* CalculsBtn = nullptr;
  QStatusBar* Header = nullptr;
  bool WaitMessageShown = false; // the status bar shows the wait for the trigger

  // Channel panel.
  QWidget* PanelVoies = nullptr;
  QGroupBox* PointGB = nullptr;
  QCheckBox* PointAutoCB = nullptr;
  QSpinBox* DeltaPointSE = nullptr;
  std::array<TChannelControls, 4> Channels;

  // Trigger and time-base panel.
  QWidget* PanelTemps = nullptr;
  QGroupBox* SynchroGB = nullptr;
  TRadioGroup* SynchroRG = nullptr;
  QCheckBox* MonocoupCB = nullptr;
  QCheckBox* PreAcqCB = nullptr;
  QToolButton* EtalonneSeuilBtn = nullptr;
  TRadioGroup* SensRG = nullptr;
  QGroupBox* SeuilGB = nullptr;
  QLineEdit* SeuilEdit = nullptr;
  TSpinButton* SpinButton1 = nullptr;
  QLabel* PanelDuree = nullptr;
  QGroupBox* BaseDeTempsGB = nullptr;
  TLabeledEdit* DureeEdit = nullptr;
  TUpDown* DureeUpDown = nullptr;
  TLabeledEdit* FechEdit = nullptr;
  TLabeledEdit* NbreEdit = nullptr;
  TSpinButton* NbreSpin = nullptr;

  // Graph area.
  QWidget* PanelCourbe = nullptr;
  QFrame* GBFPanel = nullptr;
  QProgressBar* ProgressBar = nullptr;
  TPaintBox* TempsPaintBox = nullptr;
  QLabel* LabelX = nullptr;
  QLabel* LabelY = nullptr;
  TShape* ShapeCurseur = nullptr;
  QFrame* VexorAbsent = nullptr;
  QToolButton* ComBtn = nullptr;
  QToolButton* EscapeBtn = nullptr;
  QTableWidget* MesuresTable = nullptr; // under the graph: channels by measurements
  QMenu* MesuresMenu = nullptr;         // the quantities shown, checkable
  QBoxLayout* GraphBox = nullptr;       // the graph and the panel, one under or beside the other
  QWidget* SpectreBar = nullptr;        // over the graph in Spectre mode
  QComboBox* FenetreCB = nullptr;
  QComboBox* EchelleCB = nullptr;
  QSpinBox* MoyenneSE = nullptr;
  TModelPanel* ModelPanel = nullptr; // "Modélisation", beside the graph in ModelArea
  QScrollArea* ModelArea = nullptr;
  QComboBox* FmaxCB = nullptr; // "auto", then frequencies; the item's data in Hz (0: auto)

  // Generator panel (inside GBFPanel).
  QWidget* FrequencePanel = nullptr;
  std::array<QToolButton*, 8> FrequencyBtns{}; // SpeedButton1..8: "+" 1000..1, "-" 1000..1
  TLCD99* LCD10k = nullptr;
  QLabel* HzLabel = nullptr;
  QToolButton* MajBtn = nullptr;
  TRadioGroup* signalRG = nullptr;
  TPaintBox* GbfPB = nullptr;
  QGroupBox* OffsetGB = nullptr;
  QLineEdit* OffsetEdit = nullptr;
  QScrollBar* OffsetScroll = nullptr;
  QPushButton* OffsetNulBtn = nullptr;
  QGroupBox* AmplitudeGB = nullptr;
  QLineEdit* AmplitudeEdit = nullptr;
  QScrollBar* AmplitudeScroll = nullptr;
  QGroupBox* DutyGB = nullptr;
  QLineEdit* DutyEdit = nullptr;
  QScrollBar* DutyScroll = nullptr;
  QPushButton* Duty50Btn = nullptr;
  QWidget* ExpressionPanel = nullptr;
  QLineEdit* ExpressionEdit = nullptr;

  // Timers.
  QTimer* Timer = nullptr;
  QTimer* TimerPoint = nullptr;
  QTimer* TimerGBF = nullptr;

  // State.
  bool DraggingThreshold = false;
  QPoint DragPoint;
  bool DraggingSpectrum = false; // the frequency range follows the mouse
  int SpectrumDragX = 0;
  bool Closing = false;
  bool Loading = false;
  std::uint8_t GeneratorState = 0;
  std::int32_t GeneratorIdleTicks = 0;
  bool FirstActivation = true;
  bool PointMode = false;
  int LanguageChoice = 0; // the "Langue" option (TLanguageChoice), as read or chosen
  QString PaintBoxHint; // the graph's hint, shown in the status bar while pointing at it
  std::vector<analysis::Quantity> ChosenMeasures;
  std::unique_ptr<TGrapheSpectre> SpectreGraph; // on TempsPaintBox's canvas

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void FitToolBarCaptions(); // captions under the icons only where they fit
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // Building (mainform_layout.cpp).
  void BuildWindow();
  void BuildFileButtons(); // mainform_files.cpp: the toolbar's file buttons and their menus
  bool FileKeyDown(QObject* watched, QKeyEvent* key); // Ctrl+O, Ctrl+S, Ctrl+P
  void RememberFile(const QString& path);             // recent files and the last folder
  void RememberFolder(const QString& path);           // the last folder only
  void FillRecentMenu();
  // The curves of the opened file and of the live data trade places (for the settings file).
  void SwapShownCurves();
  QWidget* BuildToolBar();
  QWidget* BuildPanelVoies();
  QGroupBox* BuildChannelGroup(int channel);
  QWidget* BuildPanelTemps();
  QWidget* BuildPanelCourbe();
  void BuildGBFPanel(); // mainform_gbf_layout.cpp
  void BuildAnalysisButtons(QHBoxLayout* row);       // mainform_measures.cpp
  void BuildAnalysisPanels(QVBoxLayout* column);     // under and over the graph
  void BuildSpectreBar();                            // mainform_fourier.cpp
  void BuildModelButton(QHBoxLayout* row);           // mainform_model.cpp
  void BuildModelPanel(QVBoxLayout* column);
  void BuildCalculsButton(QHBoxLayout* row); // mainform_calculs.cpp
  void LoadComputedQuantities(const TIniFile& ini);
  void AimGraphsAtComputed(); // the graphs draw the shown set's curves
  // CurrentMeasurement without the computed quantities.
  bool ChannelsMeasurement(TMeasurement& m, bool header) const;
  void SaveComputedQuantities(TIniFile& ini) const;
  void LoadAnalysisSettings(const TIniFile& ini);
  void SaveAnalysisSettings(TIniFile& ini) const;
  void LoadSpectrumSettings(const TIniFile& ini);
  void SaveSpectrumSettings(TIniFile& ini) const;
  void ShowMeasures(std::span<const int> channels, std::span<const analysis::Measurements> values);
  void ComputeSpectra(const std::array<TCourbeOsc, 4>& curves, std::span<const TCourbe> computed,
                      double samplePeriod, int count);
  // No gap (the no-value marker, a value not finite) in the first `count` samples.
  static bool Gapless(const TCourbe& curve, int count);
  void ConnectGeneratorHandlers();
  QFrame* BuildVexorAbsent();
  void ConnectHandlers();
  void PlaceVexorAbsent();
  void ShowVexorAbsent(bool show);

  void FormClose();
  void FormDestroy();
  // The Ctrl+letter rule of the edit boxes (an application-wide filter) and the space bar.
  bool AppMessage(QObject* watched, QKeyEvent* key);
  bool FormKeyDown(QObject* watched, QKeyEvent* key);

  // Shared steps of the cycle (mainform_cycle.cpp).
  void SetTimeAxis();
  void FillCurves(int count);
  void ShowSampleRate();
  void ShowProgress(); // the progress bar and the elapsed time of slow sweeps
  void ShowElapsed();
  bool ContinuousTrigger() const; // MonocoupCB visible and not checked
  int ChannelOf(QObject* sender) const;
  void ApplyThreshold(double volts);
  void StepThreshold(int steps); // by steps of the threshold converter
  void ShowThreshold(double volts);

  static QString ChannelCaption(int channel, const std::string& name, bool withName);
  // Maxi and Mini of the curve from the channel's range list and "V>0" box.
  void ApplyRange(int channel, TCourbe& curve) const;
  // The channel's controls and the device object's channel after the curve: enabled, input,
  // range, swatch and group caption.
  void ApplyChannel(int channel, const TCourbe& curve);
  void ToggleLiveCrosses(); // the live crosses of point mode, drawn or taken away

  // The panel's wave given to Generator and computed; false with the evaluator's message when
  // the formula of the arbitrary wave is refused (nothing is then computed).
  bool ApplyGeneratorPanel(QString* error);
  void ShowGeneratorError(const QString& message);
  bool GeneratorBusy = false; // MajBtnClick is running (it lets events run)
  std::string RefusedFormula; // the formula last refused, reported once

  // The interface has gone during a sweep (or while it waited for its trigger): the red panel
  // comes back.
  void InterfaceLost();

  bool InTimer = false;
  // The wait before the next poll of the sweep cycle: the written 110 ms, or with the fast
  // display until the screen's next frame after the one the last sweep was shown in.
  int PollDelayMs() const;
  QElapsedTimer PaceClock;   // the origin of the frames, started with the first sweep shown
  double SweepShownMs = -1;  // when the last sweep was shown on that clock
  QPointer<QWindow> LastFocusWindow;
  std::optional<TSweepCycle> Cycle; // the sweep being acquired, on Device
  analysis::Measurer Measurer;
  std::array<analysis::Spectrum, 4 + analysis::kMaxComputed> Spectra; // channels, computed
  std::vector<int> MeasuredChannels; // the panel's rows: channel i, or 4 + k computed quantity k
  std::vector<analysis::Measurements> MeasuredValues;

  std::shared_ptr<TMeasurement> ShownMeasure; // the opened file's measurement
  std::shared_ptr<TLiveCurves> LiveCurves;    // the live curves while a file is shown
  std::shared_ptr<TgraphePoint> ShownPoints;  // an opened file of points, in its own graph
  std::shared_ptr<TMeasureAppender> Recorder; // the continuous recording, when on
  int RecordedSamples = 0;                    // of the sweep under way
  long long RecordedSweepStart = 0;           // samples recorded before the sweep under way
  bool RecordedAnySweep = false;
  std::vector<int> RecordedChannels;          // the recording's columns

  std::unique_ptr<TComputedCurves> Computed;     // "Calculs"
  std::unique_ptr<TComputedCurves> FileComputed; // an opened file's own set
  bool FileComputedEdited = false;               // changed in the dialog since it was opened
  std::size_t RecordedComputed = 0;              // the recording's computed columns
  std::array<analysis::ComputedChannel, 4> CheckedChannels; // as the set was last checked
  std::string CheckedAbscissaUnit = "s";
};

} // namespace qvt
