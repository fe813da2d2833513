// SPDX-License-Identifier: GPL-3.0-or-later
// Captions, hints and messages of the main window, each written once (UTF-8).
#pragma once

#include <QCoreApplication>
#include <QString>

#include "translate.h"

namespace qvt::texts {

inline QString U8(const char* text) {
  return QString::fromUtf8(text);
}

// A text of this file, marked QT_TRANSLATE_NOOP("MainWindow", ...), in the interface language.
inline QString T(const char* text) {
  return QCoreApplication::translate("MainWindow", text);
}

// The product's name, not translated.
inline constexpr char kApplicationTitle[] = "Vexor QVT 2";
inline constexpr char kCaption[] = QT_TRANSLATE_NOOP("MainWindow", "QVT2");
inline constexpr char kIdleCaption[] =
    QT_TRANSLATE_NOOP("MainWindow", "Acquisition par QVT II pour Kalkio");

// Toolbar: caption, hint.
inline constexpr char kOptions[] = QT_TRANSLATE_NOOP("MainWindow", "Options");
inline constexpr char kOptionsHint[] = QT_TRANSLATE_NOOP("MainWindow", "Options");
inline constexpr char kGbf[] = QT_TRANSLATE_NOOP("MainWindow", "G.B.F.");
inline constexpr char kAutoSet[] = QT_TRANSLATE_NOOP("MainWindow", "Config. auto");
inline constexpr char kKalkio[] = QT_TRANSLATE_NOOP("MainWindow", "Kalkio");
inline constexpr char kKalkioHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Kalkio|Envoie les données vers Kalkio");
inline constexpr char kMatlab[] = QT_TRANSLATE_NOOP("MainWindow", "Matlab");
inline constexpr char kHelp[] = QT_TRANSLATE_NOOP("MainWindow", "Aide");
inline constexpr char kAbout[] = QT_TRANSLATE_NOOP("MainWindow", "A propos");
inline constexpr char kAboutHint[] = QT_TRANSLATE_NOOP("MainWindow", "A propos...");
inline constexpr char kExit[] = QT_TRANSLATE_NOOP("MainWindow", "Quitter");
inline constexpr char kExitHint[] = QT_TRANSLATE_NOOP("MainWindow", "Quitter");
inline constexpr char kStop[] = QT_TRANSLATE_NOOP("MainWindow", "Stop");
inline constexpr char kAcquire[] = QT_TRANSLATE_NOOP("MainWindow", "Acquisition");
inline constexpr char kUndo[] = QT_TRANSLATE_NOOP("MainWindow", "Défaire");
inline constexpr char kReset[] = QT_TRANSLATE_NOOP("MainWindow", "RàZ");

// Measurements panel and spectrum mode.
inline constexpr char kMesures[] = QT_TRANSLATE_NOOP("MainWindow", "Mesures");
inline constexpr char kMesuresHint[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "Mesures|Mesures automatiques de chaque voie active (clic droit : choisir, copier)");
inline constexpr char kSpectre[] = QT_TRANSLATE_NOOP("MainWindow", "Spectre");
inline constexpr char kSpectreHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Spectre|Spectre des voies actives au lieu des courbes");
inline constexpr char kMesuresShown[] = QT_TRANSLATE_NOOP("MainWindow", "Mesures affichées");
inline constexpr char kCopyTable[] = QT_TRANSLATE_NOOP("MainWindow", "Copier le tableau");
inline constexpr char kModele[] = QT_TRANSLATE_NOOP("MainWindow", "Modélisation");
inline constexpr char kModeleHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Modélisation|Ajuster un modèle aux mesures");
inline constexpr char kCalculs[] = QT_TRANSLATE_NOOP("MainWindow", "Calculs");
inline constexpr char kCalculsHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Calculs|Grandeurs calculées à partir des voies");
inline constexpr char kModelMarker[] =
    QT_TRANSLATE_NOOP("MainWindow", "Borne de la modélisation : faites-la glisser");
inline constexpr char kOutils[] = QT_TRANSLATE_NOOP("MainWindow", "Outils");
inline constexpr char kOutilsHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Outils|Tangente, pente, aire et statistiques entre les bornes");
inline constexpr char kToolsMarker[] =
    QT_TRANSLATE_NOOP("MainWindow", "Borne des outils : faites-la glisser");
inline constexpr char kSaturated[] = QT_TRANSLATE_NOOP("MainWindow", " (saturé)");
inline constexpr char kWindowLabel[] = QT_TRANSLATE_NOOP("MainWindow", "Fenêtre :");
inline constexpr const char* kWindows[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Hann"), QT_TRANSLATE_NOOP("MainWindow", "Rectangulaire"),
    QT_TRANSLATE_NOOP("MainWindow", "Hamming"), QT_TRANSLATE_NOOP("MainWindow", "Blackman-Harris"),
    QT_TRANSLATE_NOOP("MainWindow", "Sommet plat")};
inline constexpr char kScaleLabel[] = QT_TRANSLATE_NOOP("MainWindow", "Échelle :");
inline constexpr const char* kScales[] = {QT_TRANSLATE_NOOP("MainWindow", "Linéaire (V)"),
                                          QT_TRANSLATE_NOOP("MainWindow", "Logarithmique (dBV)")};
inline constexpr char kAveragingLabel[] = QT_TRANSLATE_NOOP("MainWindow", "Moyenne sur");
inline constexpr char kAveragingSuffix[] = QT_TRANSLATE_NOOP("MainWindow", " balayage(s)");
inline constexpr char kMaxFrequencyLabel[] = QT_TRANSLATE_NOOP("MainWindow", "f max :");
inline constexpr char kMaxFrequencyAuto[] = QT_TRANSLATE_NOOP("MainWindow", "auto");
inline constexpr char kMaxFrequencyHint[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "|Fréquence la plus haute affichée ; molette et glisser sur l'axe des fréquences pour "
    "zoomer et déplacer, double clic pour revenir en automatique");
inline constexpr char kSpectrumWindowHint[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "|Fenêtre de pondération : Hann pour les fréquences, sommet plat pour les amplitudes");

// Channel groups.
inline constexpr char kChannel[] = QT_TRANSLATE_NOOP("MainWindow", "Voie ");
inline constexpr char kChannelNameSeparator[] = QT_TRANSLATE_NOOP("MainWindow", " : ");
inline constexpr char kInput[] = QT_TRANSLATE_NOOP("MainWindow", "Entrée");
inline constexpr char kActive[] = QT_TRANSLATE_NOOP("MainWindow", "active");
inline constexpr char kPositive[] = QT_TRANSLATE_NOOP("MainWindow", "V>0");
inline constexpr char kPositiveHint[] = QT_TRANSLATE_NOOP("MainWindow", "|Tension positive");
inline constexpr char kRangeHint[] = QT_TRANSLATE_NOOP("MainWindow", "calibre");
// Also the range written in measurement files (untranslated there).
inline constexpr const char* kRanges[] = {
    QT_TRANSLATE_NOOP("MainWindow", "50 mV"),  QT_TRANSLATE_NOOP("MainWindow", "100 mV"),
    QT_TRANSLATE_NOOP("MainWindow", "200 mV"), QT_TRANSLATE_NOOP("MainWindow", "500 mV"),
    QT_TRANSLATE_NOOP("MainWindow", "1 V"),    QT_TRANSLATE_NOOP("MainWindow", "2 V"),
    QT_TRANSLATE_NOOP("MainWindow", "5 V"),    QT_TRANSLATE_NOOP("MainWindow", "15 V")};

// Point-by-point group.
inline constexpr char kPointGroup[] = QT_TRANSLATE_NOOP("MainWindow", "Point par point");
inline constexpr char kPointAuto[] = QT_TRANSLATE_NOOP("MainWindow", "Automatique");
inline constexpr char kDeltaPointHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "% de variation mini pour faire acquérir un point");

// Trigger and time base.
inline constexpr char kSynchro[] = QT_TRANSLATE_NOOP("MainWindow", "Synchronisation");
inline constexpr char kSynchroSource[] = QT_TRANSLATE_NOOP("MainWindow", "Voie");
inline constexpr char kKeyboard[] = QT_TRANSLATE_NOOP("MainWindow", "Clavier");
inline constexpr char kSingleShot[] = QT_TRANSLATE_NOOP("MainWindow", "Monocoup");
inline constexpr char kPreTrigger[] = QT_TRANSLATE_NOOP("MainWindow", "Préacquisition");
inline constexpr char kCalibrate[] = QT_TRANSLATE_NOOP("MainWindow", "Etalonne");
inline constexpr char kCalibrateHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "|Etalonnage de la valeur du seuil");
inline constexpr char kEdge[] = QT_TRANSLATE_NOOP("MainWindow", "Sens");
inline constexpr char kThresholdGroup[] = QT_TRANSLATE_NOOP("MainWindow", "Seuil (V)");
inline constexpr char kThresholdOf[] = QT_TRANSLATE_NOOP("MainWindow", "Seuil : ");
inline constexpr char kThresholdUnit[] = QT_TRANSLATE_NOOP("MainWindow", " (V)");
inline constexpr char kDragHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Seuil modifiable par cliquer déplacer de sa ligne sur le graphe");
inline constexpr char kTimeBase[] = QT_TRANSLATE_NOOP("MainWindow", "Base de temps");
inline constexpr char kDuration[] = QT_TRANSLATE_NOOP("MainWindow", "Durée");
inline constexpr char kSampleRate[] = QT_TRANSLATE_NOOP("MainWindow", "Fréq. éch.");
inline constexpr char kPoints[] = QT_TRANSLATE_NOOP("MainWindow", "Nombre de points");
inline constexpr char kClockDesign[] = "00:00:00";
// Screen readers: the one-pixel box where the keyboard focus rests, and the arrow buttons
// beside the boxes.
inline constexpr char kFocusRest[] =
    QT_TRANSLATE_NOOP("MainWindow", "Barre d'espace : lancer ou arrêter l'acquisition");
inline constexpr char kLongerDuration[] = QT_TRANSLATE_NOOP("MainWindow", "Augmenter la durée");
inline constexpr char kShorterDuration[] = QT_TRANSLATE_NOOP("MainWindow", "Diminuer la durée");
inline constexpr char kMorePoints[] = QT_TRANSLATE_NOOP("MainWindow", "Augmenter le nombre de points");
inline constexpr char kFewerPoints[] = QT_TRANSLATE_NOOP("MainWindow", "Diminuer le nombre de points");
inline constexpr char kRaiseThreshold[] = QT_TRANSLATE_NOOP("MainWindow", "Monter le seuil");
inline constexpr char kLowerThreshold[] = QT_TRANSLATE_NOOP("MainWindow", "Baisser le seuil");

// Screen readers: the graph and the description of what it shows.
inline constexpr char kGraphName[] = QT_TRANSLATE_NOOP("MainWindow", "Graphe");
inline constexpr char kDescribeOsc[] = QT_TRANSLATE_NOOP("MainWindow", "Base de temps %1 ; %2 ; %3");
inline constexpr char kDescribePoint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Point par point ; abscisse : %1 ; %2");
inline constexpr char kDescribeOneChannel[] = QT_TRANSLATE_NOOP("MainWindow", "voie active : %1");
inline constexpr char kDescribeChannels[] = QT_TRANSLATE_NOOP("MainWindow", "voies actives : %1");
inline constexpr char kDescribeNoChannel[] = QT_TRANSLATE_NOOP("MainWindow", "aucune voie active");
inline constexpr char kDescribeKeyboard[] = QT_TRANSLATE_NOOP("MainWindow", "synchronisation au clavier");
inline constexpr char kDescribeRising[] =
    QT_TRANSLATE_NOOP("MainWindow", "synchronisation sur %1, front montant à %2");
inline constexpr char kDescribeFalling[] =
    QT_TRANSLATE_NOOP("MainWindow", "synchronisation sur %1, front descendant à %2");

// Generator panel.
inline constexpr char kHz[] = QT_TRANSLATE_NOOP("MainWindow", "Hz");
inline constexpr char kMajHint[] = QT_TRANSLATE_NOOP("MainWindow", "MàJ|Mise à jour du GBF");
inline constexpr char kMajPendingHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Cliquer pour mettre à jour le GBF");
inline constexpr char kMajOkHint[] = QT_TRANSLATE_NOOP("MainWindow", "GBF OK");
inline constexpr char kFrequencyDisplay[] = QT_TRANSLATE_NOOP("MainWindow", "Fréquence du GBF (Hz)");
inline constexpr char kSignal[] = QT_TRANSLATE_NOOP("MainWindow", "Signal");
inline constexpr const char* kWaveforms[] = {
    QT_TRANSLATE_NOOP("MainWindow", "Carré"), QT_TRANSLATE_NOOP("MainWindow", "Triangle"),
    QT_TRANSLATE_NOOP("MainWindow", "Sinus"), QT_TRANSLATE_NOOP("MainWindow", "Arbitraire")};
inline constexpr char kOffsetGroup[] = QT_TRANSLATE_NOOP("MainWindow", "Décalage");
inline constexpr char kZero[] = QT_TRANSLATE_NOOP("MainWindow", "Zéro");
inline constexpr char kAmplitudeGroup[] = QT_TRANSLATE_NOOP("MainWindow", "Amplitude");
inline constexpr char kDutyGroup[] = QT_TRANSLATE_NOOP("MainWindow", "Rapport cyclique");
inline constexpr char kDuty50[] = QT_TRANSLATE_NOOP("MainWindow", "50 %");
inline constexpr char kExpressionLabel[] =
    QT_TRANSLATE_NOOP("MainWindow", "Tension exprimée en fonction de t (temps réduit de 0 à 1) = ");
inline constexpr char kFormulaRefused[] = QT_TRANSLATE_NOOP("MainWindow", "Formule refusée");

// Point-by-point mode: the status bar.
inline constexpr char kPointAutoOn[] =
    QT_TRANSLATE_NOOP("MainWindow", "Décocher \"Automatique\" pour arrêter l'acquisition");
inline constexpr char kPointAutoOff[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "Cliquer \"Acquisition\" ou frapper la barre d'espace pour enregistrer le point courant");
inline constexpr char kPointsFull[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "16384 points enregistrés : la mémoire est pleine (\"RàZ\" ou \"Défaire\" pour continuer)");

// Handing the data on.
inline constexpr char kNothingToSave[] =
    QT_TRANSLATE_NOOP("MainWindow", "Aucune acquisition à enregistrer : lancer d'abord une acquisition.");
inline constexpr char kCannotWrite[] =
    QT_TRANSLATE_NOOP("MainWindow", "Impossible d'écrire le fichier %1 :\n%2");

// Measurement files, images and print.
inline constexpr char kOpen[] = QT_TRANSLATE_NOOP("MainWindow", "Ouvrir");
inline constexpr char kOpenHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Ouvrir|Affiche une mesure enregistrée (Ctrl+O)");
inline constexpr char kSave[] = QT_TRANSLATE_NOOP("MainWindow", "Enregistrer");
inline constexpr char kSaveHint[] = QT_TRANSLATE_NOOP(
    "MainWindow", "Enregistrer|Enregistre la dernière acquisition, ou les points relevés (Ctrl+S)");
inline constexpr char kImage[] = QT_TRANSLATE_NOOP("MainWindow", "Image");
inline constexpr char kImageHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Image|Copie le graphe ou l'exporte en image");
inline constexpr char kCopyImage[] = QT_TRANSLATE_NOOP("MainWindow", "Copier dans le presse-papiers");
inline constexpr char kExportPng[] = QT_TRANSLATE_NOOP("MainWindow", "Exporter en PNG...");
inline constexpr char kExportSvg[] = QT_TRANSLATE_NOOP("MainWindow", "Exporter en SVG...");
inline constexpr char kPrint[] = QT_TRANSLATE_NOOP("MainWindow", "Imprimer");
inline constexpr char kPrintHint[] =
    QT_TRANSLATE_NOOP("MainWindow", "Imprimer|Imprime le graphe ou l'enregistre en PDF (Ctrl+P)");
inline constexpr char kRecentFiles[] = QT_TRANSLATE_NOOP("MainWindow", "Fichiers récents");
inline constexpr char kMeasureFilter[] = QT_TRANSLATE_NOOP("MainWindow", "Mesure qvt2 (*.qvtm)");
inline constexpr char kCsvFilter[] = QT_TRANSLATE_NOOP("MainWindow", "CSV (tableur) (*.csv)");
inline constexpr char kPngFilter[] = QT_TRANSLATE_NOOP("MainWindow", "Image PNG (*.png)");
inline constexpr char kSvgFilter[] = QT_TRANSLATE_NOOP("MainWindow", "Image SVG (*.svg)");
inline constexpr char kCsvTitle[] = QT_TRANSLATE_NOOP("MainWindow", "Format CSV");
inline constexpr char kCsvSeparator[] = QT_TRANSLATE_NOOP("MainWindow", "Séparateur");
inline constexpr char kCsvDecimal[] = QT_TRANSLATE_NOOP("MainWindow", "Marque décimale");
inline constexpr char kCsvExcel[] = QT_TRANSLATE_NOOP("MainWindow", "Excel (UTF-8 avec BOM)");
inline constexpr const char* kCsvSeparators[] = {QT_TRANSLATE_NOOP("MainWindow", "; (point-virgule)"),
                                                 QT_TRANSLATE_NOOP("MainWindow", ", (virgule)"),
                                                 QT_TRANSLATE_NOOP("MainWindow", "Tabulation")};
inline constexpr const char* kCsvDecimals[] = {QT_TRANSLATE_NOOP("MainWindow", ", (virgule)"),
                                               QT_TRANSLATE_NOOP("MainWindow", ". (point)")};
inline constexpr char kPngWidth[] = QT_TRANSLATE_NOOP("MainWindow", "Largeur de l'image en pixels :");
inline constexpr char kFileCaption[] = QT_TRANSLATE_NOOP("MainWindow", "QVT2 - %1");
inline constexpr char kPrintCaption[] = QT_TRANSLATE_NOOP("MainWindow", "%1 ; base de temps %2");
inline constexpr char kPrintPointCaption[] = QT_TRANSLATE_NOOP("MainWindow", "%1 ; point par point");
inline constexpr char kTooManyRows[] =
    QT_TRANSLATE_NOOP("MainWindow", "Mesure trop longue pour le graphe (%1 lignes, au plus %2) : %3");
inline constexpr char kDuplicateChannel[] =
    QT_TRANSLATE_NOOP("MainWindow", "Voie %1 présente deux fois : %2");
inline constexpr char kCannotExport[] = QT_TRANSLATE_NOOP("MainWindow", "Impossible d'écrire l'image %1");
inline constexpr char kRecordContinuous[] = QT_TRANSLATE_NOOP("MainWindow", "Enregistrer en continu");
inline constexpr char kRecordHint[] = QT_TRANSLATE_NOOP(
    "MainWindow",
    "|Chaque point (ou échantillon des balayages lents) est écrit aussitôt dans le fichier");

// Acquisition and cursors.
inline constexpr char kWaitingForTrigger[] =
    QT_TRANSLATE_NOOP("MainWindow", "Attente de synchronisation");
inline constexpr char kThresholdLine[] = QT_TRANSLATE_NOOP("MainWindow", "Seuil de synchronisation");

// Absent interface.
inline constexpr char kAbsent[] = QT_TRANSLATE_NOOP("MainWindow", "Vexor QVT II non connectée");
inline constexpr char kRetry[] = QT_TRANSLATE_NOOP("MainWindow", "Vérifier puis cliquer ici");
inline constexpr char kRetryHint[] = "hTestCom";
inline constexpr char kGiveUp[] = QT_TRANSLATE_NOOP("MainWindow", "Abandon");
inline constexpr char kPowerCycle[] = QT_TRANSLATE_NOOP("MainWindow", "Eteindre QVT II puis rallumer");

} // namespace qvt::texts
