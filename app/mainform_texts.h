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

inline constexpr char kApplicationTitle[] = "Vexor QVT 2";
inline constexpr char kCaption[] = "QVT2";
inline constexpr char kIdleCaption[] = "Acquisition par QVT II pour Kalkio";

// Toolbar: caption, hint.
inline constexpr char kOptions[] = "Options";
inline constexpr char kOptionsHint[] = "Options";
inline constexpr char kGbf[] = "G.B.F.";
inline constexpr char kAutoSet[] = "Config. auto";
inline constexpr char kKalkio[] = "Kalkio";
inline constexpr char kKalkioHint[] = "Kalkio|Envoie les données vers Kalkio";
inline constexpr char kMatlab[] = "Matlab";
inline constexpr char kHelp[] = "Aide";
inline constexpr char kAbout[] = "A propos";
inline constexpr char kAboutHint[] = "A propos...";
inline constexpr char kExit[] = "Quitter";
inline constexpr char kExitHint[] = "Quitter";
inline constexpr char kStop[] = "Stop";
inline constexpr char kAcquire[] = "Acquisition";
inline constexpr char kUndo[] = "Défaire";
inline constexpr char kReset[] = "RàZ";

// Measurements panel and spectrum mode.
inline constexpr char kMesures[] = "Mesures";
inline constexpr char kMesuresHint[] =
    "Mesures|Mesures automatiques de chaque voie active (clic droit : choisir, copier)";
inline constexpr char kSpectre[] = "Spectre";
inline constexpr char kSpectreHint[] = "Spectre|Spectre des voies actives au lieu des courbes";
inline constexpr char kMesuresShown[] = "Mesures affichées";
inline constexpr char kCopyTable[] = "Copier le tableau";
inline constexpr char kModele[] = "Modélisation";
inline constexpr char kModeleHint[] = "Modélisation|Ajuster un modèle aux mesures";
inline constexpr char kCalculs[] = "Calculs";
inline constexpr char kCalculsHint[] = "Calculs|Grandeurs calculées à partir des voies";
inline constexpr char kModelMarker[] = "Borne de la modélisation : faites-la glisser";
inline constexpr char kOutils[] = "Outils";
inline constexpr char kOutilsHint[] =
    "Outils|Tangente, pente, aire et statistiques entre les bornes";
inline constexpr char kToolsMarker[] = "Borne des outils : faites-la glisser";
inline constexpr char kSaturated[] = " (saturé)";
inline constexpr char kWindowLabel[] = "Fenêtre :";
inline constexpr const char* kWindows[] = {"Hann", "Rectangulaire", "Hamming", "Blackman-Harris",
                                           "Sommet plat"};
inline constexpr char kScaleLabel[] = "Échelle :";
inline constexpr const char* kScales[] = {"Linéaire (V)", "Logarithmique (dBV)"};
inline constexpr char kAveragingLabel[] = "Moyenne sur";
inline constexpr char kAveragingSuffix[] = " balayage(s)";
inline constexpr char kMaxFrequencyLabel[] = "f max :";
inline constexpr char kMaxFrequencyAuto[] = "auto";
inline constexpr char kMaxFrequencyHint[] =
    "|Fréquence la plus haute affichée ; molette et glisser sur l'axe des fréquences pour "
    "zoomer et déplacer, double clic pour revenir en automatique";
inline constexpr char kSpectrumWindowHint[] =
    "|Fenêtre de pondération : Hann pour les fréquences, sommet plat pour les amplitudes";

// Channel groups.
inline constexpr char kChannel[] = "Voie ";
inline constexpr char kChannelNameSeparator[] = " : ";
inline constexpr char kInput[] = "Entrée";
inline constexpr char kActive[] = "active";
inline constexpr char kPositive[] = "V>0";
inline constexpr char kPositiveHint[] = "|Tension positive";
inline constexpr char kRangeHint[] = "calibre";
inline constexpr const char* kRanges[] = {"50 mV", "100 mV", "200 mV", "500 mV",
                                          "1 V",   "2 V",    "5 V",    "15 V"};

// Point-by-point group.
inline constexpr char kPointGroup[] = "Point par point";
inline constexpr char kPointAuto[] = "Automatique";
inline constexpr char kDeltaPointHint[] = "% de variation mini pour faire acquérir un point";

// Trigger and time base.
inline constexpr char kSynchro[] = "Synchronisation";
inline constexpr char kSynchroSource[] = "Voie";
inline constexpr char kKeyboard[] = "Clavier";
inline constexpr char kSingleShot[] = "Monocoup";
inline constexpr char kPreTrigger[] = "Préacquisition";
inline constexpr char kCalibrate[] = "Etalonne";
inline constexpr char kCalibrateHint[] = "|Etalonnage de la valeur du seuil";
inline constexpr char kEdge[] = "Sens";
inline constexpr char kThresholdGroup[] = "Seuil (V)";
inline constexpr char kThresholdOf[] = "Seuil : ";
inline constexpr char kThresholdUnit[] = " (V)";
inline constexpr char kDragHintHead[] = "Seuil modifiable par cliquer déplacer à ";
inline constexpr char kDragHintTail[] = " du graphe";
inline constexpr char kTimeBase[] = "Base de temps";
inline constexpr char kDuration[] = "Durée";
inline constexpr char kSampleRate[] = "Fréq. éch.";
inline constexpr char kPoints[] = "Nombre de points";
inline constexpr char kClockDesign[] = "00:00:00";
// Screen readers: the one-pixel box where the keyboard focus rests, and the arrow buttons
// beside the boxes.
inline constexpr char kFocusRest[] = "Barre d'espace : lancer ou arrêter l'acquisition";
inline constexpr char kLongerDuration[] = "Augmenter la durée";
inline constexpr char kShorterDuration[] = "Diminuer la durée";
inline constexpr char kMorePoints[] = "Augmenter le nombre de points";
inline constexpr char kFewerPoints[] = "Diminuer le nombre de points";
inline constexpr char kRaiseThreshold[] = "Monter le seuil";
inline constexpr char kLowerThreshold[] = "Baisser le seuil";

// Screen readers: the graph and the description of what it shows.
inline constexpr char kGraphName[] = "Graphe";
inline constexpr char kDescribeOsc[] = "Base de temps %1 ; %2 ; %3";
inline constexpr char kDescribePoint[] = "Point par point ; abscisse : %1 ; %2";
inline constexpr char kDescribeOneChannel[] = "voie active : %1";
inline constexpr char kDescribeChannels[] = "voies actives : %1";
inline constexpr char kDescribeNoChannel[] = "aucune voie active";
inline constexpr char kDescribeKeyboard[] = "synchronisation au clavier";
inline constexpr char kDescribeRising[] = "synchronisation sur %1, front montant à %2";
inline constexpr char kDescribeFalling[] = "synchronisation sur %1, front descendant à %2";

// Generator panel.
inline constexpr char kHz[] = "Hz";
inline constexpr char kMajHint[] = "MàJ|Mise à jour du GBF";
inline constexpr char kMajPendingHint[] = "Cliquer pour mettre à jour le GBF";
inline constexpr char kMajOkHint[] = "GBF OK";
inline constexpr char kFrequencyDisplay[] = "Fréquence du GBF (Hz)";
inline constexpr char kSignal[] = "Signal";
inline constexpr const char* kWaveforms[] = {"Carré", "Triangle", "Sinus", "Arbitraire"};
inline constexpr char kOffsetGroup[] = "Décalage";
inline constexpr char kZero[] = "Zéro";
inline constexpr char kAmplitudeGroup[] = "Amplitude";
inline constexpr char kDutyGroup[] = "Rapport cyclique";
inline constexpr char kDuty50[] = "50 %";
inline constexpr char kExpressionLabel[] =
    "Tension exprimée en fonction de t (temps réduit de 0 à 1) = ";
inline constexpr char kFormulaRefused[] = "Formule refusée";

// Point-by-point mode: the status bar.
inline constexpr char kPointAutoOn[] = "Décocher \"Automatique\" pour arrêter l'acquisition";
inline constexpr char kPointAutoOff[] =
    "Cliquer \"Acquisition\" ou frapper la barre d'espace pour enregistrer le point courant";
inline constexpr char kPointsFull[] =
    "16384 points enregistrés : la mémoire est pleine (\"RàZ\" ou \"Défaire\" pour continuer)";

// Handing the data on.
inline constexpr char kNothingToSave[] = "Aucune acquisition à enregistrer : lancer d'abord une acquisition.";
inline constexpr char kCannotWrite[] = "Impossible d'écrire le fichier %1 :\n%2";

// Measurement files, images and print.
inline constexpr char kOpen[] = "Ouvrir";
inline constexpr char kOpenHint[] = "Ouvrir|Affiche une mesure enregistrée (Ctrl+O)";
inline constexpr char kSave[] = "Enregistrer";
inline constexpr char kSaveHint[] =
    "Enregistrer|Enregistre la dernière acquisition, ou les points relevés (Ctrl+S)";
inline constexpr char kImage[] = "Image";
inline constexpr char kImageHint[] = "Image|Copie le graphe ou l'exporte en image";
inline constexpr char kCopyImage[] = "Copier dans le presse-papiers";
inline constexpr char kExportPng[] = "Exporter en PNG...";
inline constexpr char kExportSvg[] = "Exporter en SVG...";
inline constexpr char kPrint[] = "Imprimer";
inline constexpr char kPrintHint[] = "Imprimer|Imprime le graphe ou l'enregistre en PDF (Ctrl+P)";
inline constexpr char kRecentFiles[] = "Fichiers récents";
inline constexpr char kMeasureFilter[] = "Mesure qvt2 (*.qvtm)";
inline constexpr char kCsvFilter[] = "CSV (tableur) (*.csv)";
inline constexpr char kPngFilter[] = "Image PNG (*.png)";
inline constexpr char kSvgFilter[] = "Image SVG (*.svg)";
inline constexpr char kCsvTitle[] = "Format CSV";
inline constexpr char kCsvSeparator[] = "Séparateur";
inline constexpr char kCsvDecimal[] = "Marque décimale";
inline constexpr char kCsvExcel[] = "Excel (UTF-8 avec BOM)";
inline constexpr const char* kCsvSeparators[] = {"; (point-virgule)", ", (virgule)",
                                                 "Tabulation"};
inline constexpr const char* kCsvDecimals[] = {", (virgule)", ". (point)"};
inline constexpr char kPngWidth[] = "Largeur de l'image en pixels :";
inline constexpr char kFileCaption[] = "QVT2 - %1";
inline constexpr char kPrintCaption[] = "%1 ; base de temps %2";
inline constexpr char kPrintPointCaption[] = "%1 ; point par point";
inline constexpr char kTooManyRows[] = "Mesure trop longue pour le graphe (%1 lignes, au plus %2) : %3";
inline constexpr char kDuplicateChannel[] = "Voie %1 présente deux fois : %2";
inline constexpr char kCannotExport[] = "Impossible d'écrire l'image %1";
inline constexpr char kRecordContinuous[] = "Enregistrer en continu";
inline constexpr char kRecordHint[] =
    "|Chaque point (ou échantillon des balayages lents) est écrit aussitôt dans le fichier";

// Acquisition and cursors.
inline constexpr char kWaitingForTrigger[] = "Attente de synchronisation";
inline constexpr char kThresholdLine[] = "Seuil de synchronisation";

// Absent interface.
inline constexpr char kAbsent[] = "Vexor QVT II non connectée";
inline constexpr char kRetry[] = "Vérifier puis cliquer ici";
inline constexpr char kRetryHint[] = "hTestCom";
inline constexpr char kGiveUp[] = "Abandon";
inline constexpr char kPowerCycle[] = "Eteindre QVT II puis rallumer";

} // namespace qvt::texts
