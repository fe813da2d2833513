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

// A text of this file, marked QVT_TR_NOOP("MainWindow", ...), in the interface language.
inline QString T(const char* text) {
  return QCoreApplication::translate("MainWindow", text);
}

// The product's name, not translated.
inline constexpr char kApplicationTitle[] = "Vexor QVT 2";
inline constexpr char kCaption[] = QVT_TR_NOOP("MainWindow", "QVT2");
inline constexpr char kIdleCaption[] =
    QVT_TR_NOOP("MainWindow", "Acquisition par QVT II pour Kalkio");

// Toolbar: caption, hint.
inline constexpr char kOptions[] = QVT_TR_NOOP("MainWindow", "Options");
inline constexpr char kOptionsHint[] = QVT_TR_NOOP("MainWindow", "Options");
inline constexpr char kGbf[] = QVT_TR_NOOP("MainWindow", "G.B.F.");
inline constexpr char kAutoSet[] = QVT_TR_NOOP("MainWindow", "Config. auto");
inline constexpr char kKalkio[] = QVT_TR_NOOP("MainWindow", "Kalkio");
inline constexpr char kKalkioHint[] =
    QVT_TR_NOOP("MainWindow", "Kalkio|Envoie les données vers Kalkio");
inline constexpr char kMatlab[] = QVT_TR_NOOP("MainWindow", "Matlab");
inline constexpr char kHelp[] = QVT_TR_NOOP("MainWindow", "Aide");
inline constexpr char kAbout[] = QVT_TR_NOOP("MainWindow", "A propos");
inline constexpr char kAboutHint[] = QVT_TR_NOOP("MainWindow", "A propos...");
inline constexpr char kExit[] = QVT_TR_NOOP("MainWindow", "Quitter");
inline constexpr char kExitHint[] = QVT_TR_NOOP("MainWindow", "Quitter");
inline constexpr char kStop[] = QVT_TR_NOOP("MainWindow", "Stop");
inline constexpr char kAcquire[] = QVT_TR_NOOP("MainWindow", "Acquisition");
inline constexpr char kUndo[] = QVT_TR_NOOP("MainWindow", "Défaire");
inline constexpr char kReset[] = QVT_TR_NOOP("MainWindow", "RàZ");

// Measurements panel and spectrum mode.
inline constexpr char kMesures[] = QVT_TR_NOOP("MainWindow", "Mesures");
inline constexpr char kMesuresHint[] = QVT_TR_NOOP(
    "MainWindow",
    "Mesures|Mesures automatiques de chaque voie active (clic droit : choisir, copier)");
inline constexpr char kSpectre[] = QVT_TR_NOOP("MainWindow", "Spectre");
inline constexpr char kSpectreHint[] =
    QVT_TR_NOOP("MainWindow", "Spectre|Spectre des voies actives au lieu des courbes");
inline constexpr char kMesuresShown[] = QVT_TR_NOOP("MainWindow", "Mesures affichées");
inline constexpr char kCopyTable[] = QVT_TR_NOOP("MainWindow", "Copier le tableau");
inline constexpr char kModele[] = QVT_TR_NOOP("MainWindow", "Modélisation");
inline constexpr char kModeleHint[] =
    QVT_TR_NOOP("MainWindow", "Modélisation|Ajuster un modèle aux mesures");
inline constexpr char kCalculs[] = QVT_TR_NOOP("MainWindow", "Calculs");
inline constexpr char kCalculsHint[] =
    QVT_TR_NOOP("MainWindow", "Calculs|Grandeurs calculées à partir des voies");
inline constexpr char kModelMarker[] =
    QVT_TR_NOOP("MainWindow", "Borne de la modélisation : faites-la glisser");
inline constexpr char kOutils[] = QVT_TR_NOOP("MainWindow", "Outils");
inline constexpr char kOutilsHint[] =
    QVT_TR_NOOP("MainWindow", "Outils|Tangente, pente, aire et statistiques entre les bornes");
inline constexpr char kToolsMarker[] =
    QVT_TR_NOOP("MainWindow", "Borne des outils : faites-la glisser");
inline constexpr char kSaturated[] = QVT_TR_NOOP("MainWindow", " (saturé)");
inline constexpr char kWindowLabel[] = QVT_TR_NOOP("MainWindow", "Fenêtre :");
inline constexpr const char* kWindows[] = {
    QVT_TR_NOOP("MainWindow", "Hann"), QVT_TR_NOOP("MainWindow", "Rectangulaire"),
    QVT_TR_NOOP("MainWindow", "Hamming"), QVT_TR_NOOP("MainWindow", "Blackman-Harris"),
    QVT_TR_NOOP("MainWindow", "Sommet plat")};
inline constexpr char kScaleLabel[] = QVT_TR_NOOP("MainWindow", "Échelle :");
inline constexpr const char* kScales[] = {QVT_TR_NOOP("MainWindow", "Linéaire (V)"),
                                          QVT_TR_NOOP("MainWindow", "Logarithmique (dBV)")};
inline constexpr char kAveragingLabel[] = QVT_TR_NOOP("MainWindow", "Moyenne sur");
inline constexpr char kAveragingSuffix[] = QVT_TR_NOOP("MainWindow", " balayage(s)");
inline constexpr char kMaxFrequencyLabel[] = QVT_TR_NOOP("MainWindow", "f max :");
inline constexpr char kMaxFrequencyAuto[] = QVT_TR_NOOP("MainWindow", "auto");
inline constexpr char kMaxFrequencyHint[] = QVT_TR_NOOP(
    "MainWindow",
    "|Fréquence la plus haute affichée ; molette et glisser sur l'axe des fréquences pour "
    "zoomer et déplacer, double clic pour revenir en automatique");
inline constexpr char kSpectrumWindowHint[] = QVT_TR_NOOP(
    "MainWindow",
    "|Fenêtre de pondération : Hann pour les fréquences, sommet plat pour les amplitudes");

// Channel groups.
inline constexpr char kChannel[] = QVT_TR_NOOP("MainWindow", "Voie ");
inline constexpr char kChannelNameSeparator[] = QVT_TR_NOOP("MainWindow", " : ");
inline constexpr char kInput[] = QVT_TR_NOOP("MainWindow", "Entrée");
inline constexpr char kActive[] = QVT_TR_NOOP("MainWindow", "active");
inline constexpr char kPositive[] = QVT_TR_NOOP("MainWindow", "V>0");
inline constexpr char kPositiveHint[] = QVT_TR_NOOP("MainWindow", "|Tension positive");
inline constexpr char kRangeHint[] = QVT_TR_NOOP("MainWindow", "calibre");
// Also the range written in measurement files (untranslated there).
inline constexpr const char* kRanges[] = {
    QVT_TR_NOOP("MainWindow", "50 mV"),  QVT_TR_NOOP("MainWindow", "100 mV"),
    QVT_TR_NOOP("MainWindow", "200 mV"), QVT_TR_NOOP("MainWindow", "500 mV"),
    QVT_TR_NOOP("MainWindow", "1 V"),    QVT_TR_NOOP("MainWindow", "2 V"),
    QVT_TR_NOOP("MainWindow", "5 V"),    QVT_TR_NOOP("MainWindow", "15 V")};

// Point-by-point group.
inline constexpr char kPointGroup[] = QVT_TR_NOOP("MainWindow", "Point par point");
inline constexpr char kPointAuto[] = QVT_TR_NOOP("MainWindow", "Automatique");
inline constexpr char kDeltaPointHint[] =
    QVT_TR_NOOP("MainWindow", "% de variation mini pour faire acquérir un point");

// Trigger and time base.
inline constexpr char kSynchro[] = QVT_TR_NOOP("MainWindow", "Synchronisation");
inline constexpr char kSynchroSource[] = QVT_TR_NOOP("MainWindow", "Voie");
inline constexpr char kKeyboard[] = QVT_TR_NOOP("MainWindow", "Clavier");
inline constexpr char kSingleShot[] = QVT_TR_NOOP("MainWindow", "Monocoup");
inline constexpr char kPreTrigger[] = QVT_TR_NOOP("MainWindow", "Préacquisition");
inline constexpr char kCalibrate[] = QVT_TR_NOOP("MainWindow", "Etalonne");
inline constexpr char kCalibrateHint[] =
    QVT_TR_NOOP("MainWindow", "|Etalonnage de la valeur du seuil");
inline constexpr char kEdge[] = QVT_TR_NOOP("MainWindow", "Sens");
inline constexpr char kThresholdGroup[] = QVT_TR_NOOP("MainWindow", "Seuil (V)");
inline constexpr char kThresholdOf[] = QVT_TR_NOOP("MainWindow", "Seuil : ");
inline constexpr char kThresholdUnit[] = QVT_TR_NOOP("MainWindow", " (V)");
inline constexpr char kDragHint[] =
    QVT_TR_NOOP("MainWindow", "Seuil modifiable par cliquer déplacer de sa ligne sur le graphe");
inline constexpr char kTimeBase[] = QVT_TR_NOOP("MainWindow", "Base de temps");
inline constexpr char kDuration[] = QVT_TR_NOOP("MainWindow", "Durée");
inline constexpr char kSampleRate[] = QVT_TR_NOOP("MainWindow", "Fréq. éch.");
inline constexpr char kPoints[] = QVT_TR_NOOP("MainWindow", "Nombre de points");
inline constexpr char kClockDesign[] = "00:00:00";
// Screen readers: the one-pixel box where the keyboard focus rests, and the arrow buttons
// beside the boxes.
inline constexpr char kFocusRest[] =
    QVT_TR_NOOP("MainWindow", "Barre d'espace : lancer ou arrêter l'acquisition");
inline constexpr char kLongerDuration[] = QVT_TR_NOOP("MainWindow", "Augmenter la durée");
inline constexpr char kShorterDuration[] = QVT_TR_NOOP("MainWindow", "Diminuer la durée");
inline constexpr char kMorePoints[] = QVT_TR_NOOP("MainWindow", "Augmenter le nombre de points");
inline constexpr char kFewerPoints[] = QVT_TR_NOOP("MainWindow", "Diminuer le nombre de points");
inline constexpr char kRaiseThreshold[] = QVT_TR_NOOP("MainWindow", "Monter le seuil");
inline constexpr char kLowerThreshold[] = QVT_TR_NOOP("MainWindow", "Baisser le seuil");

// Screen readers: the graph and the description of what it shows.
inline constexpr char kGraphName[] = QVT_TR_NOOP("MainWindow", "Graphe");
inline constexpr char kDescribeOsc[] = QVT_TR_NOOP("MainWindow", "Base de temps %1 ; %2 ; %3");
inline constexpr char kDescribePoint[] =
    QVT_TR_NOOP("MainWindow", "Point par point ; abscisse : %1 ; %2");
inline constexpr char kDescribeOneChannel[] = QVT_TR_NOOP("MainWindow", "voie active : %1");
inline constexpr char kDescribeChannels[] = QVT_TR_NOOP("MainWindow", "voies actives : %1");
inline constexpr char kDescribeNoChannel[] = QVT_TR_NOOP("MainWindow", "aucune voie active");
inline constexpr char kDescribeKeyboard[] = QVT_TR_NOOP("MainWindow", "synchronisation au clavier");
inline constexpr char kDescribeRising[] =
    QVT_TR_NOOP("MainWindow", "synchronisation sur %1, front montant à %2");
inline constexpr char kDescribeFalling[] =
    QVT_TR_NOOP("MainWindow", "synchronisation sur %1, front descendant à %2");

// Generator panel.
inline constexpr char kHz[] = QVT_TR_NOOP("MainWindow", "Hz");
inline constexpr char kMajHint[] = QVT_TR_NOOP("MainWindow", "MàJ|Mise à jour du GBF");
inline constexpr char kMajPendingHint[] =
    QVT_TR_NOOP("MainWindow", "Cliquer pour mettre à jour le GBF");
inline constexpr char kMajOkHint[] = QVT_TR_NOOP("MainWindow", "GBF OK");
inline constexpr char kFrequencyDisplay[] = QVT_TR_NOOP("MainWindow", "Fréquence du GBF (Hz)");
inline constexpr char kSignal[] = QVT_TR_NOOP("MainWindow", "Signal");
inline constexpr const char* kWaveforms[] = {
    QVT_TR_NOOP("MainWindow", "Carré"), QVT_TR_NOOP("MainWindow", "Triangle"),
    QVT_TR_NOOP("MainWindow", "Sinus"), QVT_TR_NOOP("MainWindow", "Arbitraire")};
inline constexpr char kOffsetGroup[] = QVT_TR_NOOP("MainWindow", "Décalage");
inline constexpr char kZero[] = QVT_TR_NOOP("MainWindow", "Zéro");
inline constexpr char kAmplitudeGroup[] = QVT_TR_NOOP("MainWindow", "Amplitude");
inline constexpr char kDutyGroup[] = QVT_TR_NOOP("MainWindow", "Rapport cyclique");
inline constexpr char kDuty50[] = QVT_TR_NOOP("MainWindow", "50 %");
inline constexpr char kExpressionLabel[] =
    QVT_TR_NOOP("MainWindow", "Tension exprimée en fonction de t (temps réduit de 0 à 1) = ");
inline constexpr char kFormulaRefused[] = QVT_TR_NOOP("MainWindow", "Formule refusée");

// Point-by-point mode: the status bar.
inline constexpr char kPointAutoOn[] =
    QVT_TR_NOOP("MainWindow", "Décocher \"Automatique\" pour arrêter l'acquisition");
inline constexpr char kPointAutoOff[] = QVT_TR_NOOP(
    "MainWindow",
    "Cliquer \"Acquisition\" ou frapper la barre d'espace pour enregistrer le point courant");
inline constexpr char kPointsFull[] = QVT_TR_NOOP(
    "MainWindow",
    "16384 points enregistrés : la mémoire est pleine (\"RàZ\" ou \"Défaire\" pour continuer)");

// Handing the data on.
inline constexpr char kNothingToSave[] =
    QVT_TR_NOOP("MainWindow", "Aucune acquisition à enregistrer : lancer d'abord une acquisition.");
inline constexpr char kCannotWrite[] =
    QVT_TR_NOOP("MainWindow", "Impossible d'écrire le fichier %1 :\n%2");

// Measurement files, images and print.
inline constexpr char kOpen[] = QVT_TR_NOOP("MainWindow", "Ouvrir");
inline constexpr char kOpenHint[] =
    QVT_TR_NOOP("MainWindow", "Ouvrir|Affiche une mesure enregistrée (Ctrl+O)");
inline constexpr char kSave[] = QVT_TR_NOOP("MainWindow", "Enregistrer");
inline constexpr char kSaveHint[] = QVT_TR_NOOP(
    "MainWindow", "Enregistrer|Enregistre la dernière acquisition, ou les points relevés (Ctrl+S)");
inline constexpr char kImage[] = QVT_TR_NOOP("MainWindow", "Image");
inline constexpr char kImageHint[] =
    QVT_TR_NOOP("MainWindow", "Image|Copie le graphe ou l'exporte en image");
inline constexpr char kCopyImage[] = QVT_TR_NOOP("MainWindow", "Copier dans le presse-papiers");
inline constexpr char kExportPng[] = QVT_TR_NOOP("MainWindow", "Exporter en PNG...");
inline constexpr char kExportSvg[] = QVT_TR_NOOP("MainWindow", "Exporter en SVG...");
inline constexpr char kPrint[] = QVT_TR_NOOP("MainWindow", "Imprimer");
inline constexpr char kPrintHint[] =
    QVT_TR_NOOP("MainWindow", "Imprimer|Imprime le graphe ou l'enregistre en PDF (Ctrl+P)");
inline constexpr char kRecentFiles[] = QVT_TR_NOOP("MainWindow", "Fichiers récents");
inline constexpr char kMeasureFilter[] = QVT_TR_NOOP("MainWindow", "Mesure qvt2 (*.qvtm)");
inline constexpr char kCsvFilter[] = QVT_TR_NOOP("MainWindow", "CSV (tableur) (*.csv)");
inline constexpr char kPngFilter[] = QVT_TR_NOOP("MainWindow", "Image PNG (*.png)");
inline constexpr char kSvgFilter[] = QVT_TR_NOOP("MainWindow", "Image SVG (*.svg)");
inline constexpr char kCsvTitle[] = QVT_TR_NOOP("MainWindow", "Format CSV");
inline constexpr char kCsvSeparator[] = QVT_TR_NOOP("MainWindow", "Séparateur");
inline constexpr char kCsvDecimal[] = QVT_TR_NOOP("MainWindow", "Marque décimale");
inline constexpr char kCsvExcel[] = QVT_TR_NOOP("MainWindow", "Excel (UTF-8 avec BOM)");
inline constexpr const char* kCsvSeparators[] = {QVT_TR_NOOP("MainWindow", "; (point-virgule)"),
                                                 QVT_TR_NOOP("MainWindow", ", (virgule)"),
                                                 QVT_TR_NOOP("MainWindow", "Tabulation")};
inline constexpr const char* kCsvDecimals[] = {QVT_TR_NOOP("MainWindow", ", (virgule)"),
                                               QVT_TR_NOOP("MainWindow", ". (point)")};
inline constexpr char kPngWidth[] = QVT_TR_NOOP("MainWindow", "Largeur de l'image en pixels :");
inline constexpr char kFileCaption[] = QVT_TR_NOOP("MainWindow", "QVT2 - %1");
inline constexpr char kPrintCaption[] = QVT_TR_NOOP("MainWindow", "%1 ; base de temps %2");
inline constexpr char kPrintPointCaption[] = QVT_TR_NOOP("MainWindow", "%1 ; point par point");
inline constexpr char kTooManyRows[] =
    QVT_TR_NOOP("MainWindow", "Mesure trop longue pour le graphe (%1 lignes, au plus %2) : %3");
inline constexpr char kDuplicateChannel[] =
    QVT_TR_NOOP("MainWindow", "Voie %1 présente deux fois : %2");
inline constexpr char kCannotExport[] = QVT_TR_NOOP("MainWindow", "Impossible d'écrire l'image %1");
inline constexpr char kRecordContinuous[] = QVT_TR_NOOP("MainWindow", "Enregistrer en continu");
inline constexpr char kRecordHint[] = QVT_TR_NOOP(
    "MainWindow",
    "|Chaque point (ou échantillon des balayages lents) est écrit aussitôt dans le fichier");

// Acquisition and cursors.
inline constexpr char kWaitingForTrigger[] =
    QVT_TR_NOOP("MainWindow", "Attente de synchronisation");
inline constexpr char kThresholdLine[] = QVT_TR_NOOP("MainWindow", "Seuil de synchronisation");

// Absent interface.
inline constexpr char kAbsent[] = QVT_TR_NOOP("MainWindow", "Vexor QVT II non connectée");
inline constexpr char kRetry[] = QVT_TR_NOOP("MainWindow", "Vérifier puis cliquer ici");
inline constexpr char kRetryHint[] = "hTestCom";
inline constexpr char kGiveUp[] = QVT_TR_NOOP("MainWindow", "Abandon");
inline constexpr char kPowerCycle[] = QVT_TR_NOOP("MainWindow", "Eteindre QVT II puis rallumer");

} // namespace qvt::texts
