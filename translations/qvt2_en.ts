<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="fr">
<context>
    <name>Computed</name>
    <message>
        <source>« %1 »</source>
        <translation>&quot;%1&quot;</translation>
    </message>
    <message>
        <source>8 grandeurs calculées au plus</source>
        <translation>8 computed quantities at most</translation>
    </message>
    <message>
        <source>nom vide</source>
        <translation>empty name</translation>
    </message>
    <message>
        <source>nom %1 trop long (8 caractères au plus)</source>
        <translation>name %1 too long (8 characters at most)</translation>
    </message>
    <message>
        <source>nom %1 incorrect</source>
        <translation>incorrect name %1</translation>
    </message>
    <message>
        <source>nom %1 réservé</source>
        <translation>name %1 is reserved</translation>
    </message>
    <message>
        <source>nom %1 déjà pris par une fonction</source>
        <translation>name %1 already taken by a function</translation>
    </message>
    <message>
        <source>nom %1 réservé au temps</source>
        <translation>name %1 is reserved for the time</translation>
    </message>
    <message>
        <source>nom %1 déjà pris par une voie</source>
        <translation>name %1 already taken by a channel</translation>
    </message>
    <message>
        <source>nom %1 déjà pris par une constante</source>
        <translation>name %1 already taken by a constant</translation>
    </message>
    <message>
        <source>nom %1 déjà pris par une autre grandeur</source>
        <translation>name %1 already taken by another quantity</translation>
    </message>
    <message>
        <source>Constante : %1</source>
        <translation>Constant: %1</translation>
    </message>
    <message>
        <source>Constante %1 : unité %2 incorrecte</source>
        <translation>Constant %1: incorrect unit %2</translation>
    </message>
    <message>
        <source>Constante %1 : valeur incorrecte</source>
        <translation>Constant %1: incorrect value</translation>
    </message>
    <message>
        <source>Grandeur %1 : %2</source>
        <translation>Quantity %1: %2</translation>
    </message>
    <message>
        <source>%1 : unité %2 incorrecte</source>
        <translation>%1: incorrect unit %2</translation>
    </message>
    <message>
        <source>%1 : fonction inconnue %2</source>
        <translation>%1: unknown function %2</translation>
    </message>
    <message>
        <source>%1 : nom inconnu %2</source>
        <translation>%1: unknown name %2</translation>
    </message>
    <message>
        <source>%1 : formule incorrecte : %2</source>
        <translation>%1: incorrect formula: %2</translation>
    </message>
    <message>
        <source>%1 : formule vide</source>
        <translation>%1: empty formula</translation>
    </message>
    <message>
        <source>%1 : %2 n&apos;est ni une voie ni une grandeur</source>
        <translation>%1: %2 is neither a channel nor a quantity</translation>
    </message>
    <message>
        <source>%1 : nombre de points impair de 3 à 51</source>
        <translation>%1: the number of points must be odd, from 3 to 51</translation>
    </message>
    <message>
        <source>%1 dépend d&apos;elle-même</source>
        <translation>%1 depends on itself</translation>
    </message>
    <message>
        <source>définition circulaire : %1</source>
        <translation>circular definition: %1</translation>
    </message>
    <message>
        <source>%1 : %2 points demandés, %3 échantillons seulement</source>
        <translation>%1: %2 points asked for, only %3 samples</translation>
    </message>
    <message>
        <source>définition d&apos;une version plus récente du programme</source>
        <translation>definition from a newer version of the program</translation>
    </message>
    <message>
        <source>définition de grandeur illisible (caractère de contrôle)</source>
        <translation>unreadable quantity definition (control character)</translation>
    </message>
    <message>
        <source>définition de grandeur illisible : %1</source>
        <translation>unreadable quantity definition: %1</translation>
    </message>
    <message>
        <source>définition de grandeur : clé %1 répétée</source>
        <translation>quantity definition: key %1 repeated</translation>
    </message>
    <message>
        <source>définition de grandeur sans version (v=1)</source>
        <translation>quantity definition without a version (v=1)</translation>
    </message>
    <message>
        <source>définition de grandeur incomplète (type, nom, unite)</source>
        <translation>incomplete quantity definition (type, nom, unite)</translation>
    </message>
    <message>
        <source>définition de %1 : clé %2 manquante</source>
        <translation>definition of %1: key %2 missing</translation>
    </message>
    <message>
        <source>constante %1 : valeur incorrecte %2</source>
        <translation>constant %1: incorrect value %2</translation>
    </message>
    <message>
        <source>%1 (type %2)</source>
        <translation>%1 (type %2)</translation>
    </message>
    <message>
        <source>définition de %1 : points incorrects %2</source>
        <translation>definition of %1: incorrect points %2</translation>
    </message>
    <message>
        <source>%1 (méthode %2)</source>
        <translation>%1 (method %2)</translation>
    </message>
    <message>
        <source>définition de %1 : clé inconnue %2</source>
        <translation>definition of %1: unknown key %2</translation>
    </message>
</context>
<context>
    <name>Exchange</name>
    <message>
        <source>matlab (*.M)</source>
        <translation>matlab (*.M)</translation>
    </message>
    <message>
        <source>texte (*.txt)</source>
        <translation>text (*.txt)</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 : %2</source>
        <comment>message, file</comment>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>Fit</name>
    <message>
        <source>Incertitude non déterminée</source>
        <translation>Uncertainty not determined</translation>
    </message>
    <message>
        <source>Tapez l&apos;expression du modèle, par exemple E*(1-EXP(-t/tau))</source>
        <translation>Type the model&apos;s expression, for example E*(1-EXP(-t/tau))</translation>
    </message>
    <message>
        <source>L&apos;expression n&apos;a aucun paramètre à ajuster (tout nom autre que x et t en est un)</source>
        <translation>The expression has no parameter to fit (every name other than x and t is one)</translation>
    </message>
    <message>
        <source>Expression incorrecte : %1</source>
        <translation>Incorrect expression: %1</translation>
    </message>
    <message>
        <source>Ajustement réussi en %1 itération ; incertitude non déterminée</source>
        <translation>Fit converged in %1 iteration; uncertainty not determined</translation>
    </message>
    <message>
        <source>Ajustement réussi en %1 itérations ; incertitude non déterminée</source>
        <translation>Fit converged in %1 iterations; uncertainty not determined</translation>
    </message>
    <message>
        <source>Ajustement réussi en %1 itération</source>
        <translation>Fit converged in %1 iteration</translation>
    </message>
    <message>
        <source>Ajustement réussi en %1 itérations</source>
        <translation>Fit converged in %1 iterations</translation>
    </message>
    <message>
        <source>Pas de convergence : changez les valeurs de départ</source>
        <translation>No convergence: change the starting values</translation>
    </message>
    <message>
        <source>Modèle non calculable sur ces points : changez les valeurs de départ</source>
        <translation>The model cannot be computed on these points: change the starting values</translation>
    </message>
    <message>
        <source>Trop peu de points pour ajuster ce modèle</source>
        <translation>Too few points to fit this model</translation>
    </message>
    <message>
        <source>Données incorrectes : %1</source>
        <translation>Incorrect data: %1</translation>
    </message>
    <message>
        <source>Ajustement interrompu</source>
        <translation>Fit interrupted</translation>
    </message>
</context>
<context>
    <name>Generator</name>
    <message>
        <source>Deux périodes</source>
        <translation>Two periods</translation>
    </message>
</context>
<context>
    <name>Image</name>
    <message>
        <source>%1 ; %2</source>
        <comment>printed caption, then more of it</comment>
        <translation>%1; %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>QVT2</source>
        <translation>QVT2</translation>
    </message>
    <message>
        <source>Acquisition par QVT II pour Kalkio</source>
        <translation>Acquisition by QVT II for Kalkio</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>G.B.F.</source>
        <translation>Generator</translation>
    </message>
    <message>
        <source>Config. auto</source>
        <translation>Auto set</translation>
    </message>
    <message>
        <source>Kalkio</source>
        <translation>Kalkio</translation>
    </message>
    <message>
        <source>Kalkio|Envoie les données vers Kalkio</source>
        <translation>Kalkio|Sends the data to Kalkio</translation>
    </message>
    <message>
        <source>Matlab</source>
        <translation>Matlab</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>A propos...</source>
        <translation>About...</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Acquisition</source>
        <translation>Acquire</translation>
    </message>
    <message>
        <source>Défaire</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>RàZ</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Mesures</source>
        <translation>Measurements</translation>
    </message>
    <message>
        <source>Mesures|Mesures automatiques de chaque voie active (clic droit : choisir, copier)</source>
        <translation>Measurements|Automatic measurements of each channel that is on (right click: choose, copy)</translation>
    </message>
    <message>
        <source>Spectre</source>
        <translation>Spectrum</translation>
    </message>
    <message>
        <source>Spectre|Spectre des voies actives au lieu des courbes</source>
        <translation>Spectrum|Spectrum of the channels that are on instead of the curves</translation>
    </message>
    <message>
        <source>Mesures affichées</source>
        <translation>Measurements shown</translation>
    </message>
    <message>
        <source>Copier le tableau</source>
        <translation>Copy the table</translation>
    </message>
    <message>
        <source>Modélisation</source>
        <translation>Model fit</translation>
    </message>
    <message>
        <source>Modélisation|Ajuster un modèle aux mesures</source>
        <translation>Model fit|Fit a model to the measurements</translation>
    </message>
    <message>
        <source>Calculs</source>
        <translation>Calculations</translation>
    </message>
    <message>
        <source>Calculs|Grandeurs calculées à partir des voies</source>
        <translation>Calculations|Quantities computed from the channels</translation>
    </message>
    <message>
        <source>Borne de la modélisation : faites-la glisser</source>
        <translation>Model fit marker: drag it</translation>
    </message>
    <message>
        <source>Outils</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Outils|Tangente, pente, aire et statistiques entre les bornes</source>
        <translation>Tools|Tangent, slope, area and statistics between the markers</translation>
    </message>
    <message>
        <source>Borne des outils : faites-la glisser</source>
        <translation>Tools marker: drag it</translation>
    </message>
    <message>
        <source> (saturé)</source>
        <translation> (saturated)</translation>
    </message>
    <message>
        <source>Fenêtre :</source>
        <translation>Window:</translation>
    </message>
    <message>
        <source>Hann</source>
        <translation>Hann</translation>
    </message>
    <message>
        <source>Rectangulaire</source>
        <translation>Rectangular</translation>
    </message>
    <message>
        <source>Hamming</source>
        <translation>Hamming</translation>
    </message>
    <message>
        <source>Blackman-Harris</source>
        <translation>Blackman-Harris</translation>
    </message>
    <message>
        <source>Sommet plat</source>
        <translation>Flat top</translation>
    </message>
    <message>
        <source>Échelle :</source>
        <translation>Scale:</translation>
    </message>
    <message>
        <source>Linéaire (V)</source>
        <translation>Linear (V)</translation>
    </message>
    <message>
        <source>Logarithmique (dBV)</source>
        <translation>Logarithmic (dBV)</translation>
    </message>
    <message>
        <source>Moyenne sur</source>
        <translation>Average over</translation>
    </message>
    <message>
        <source> balayage(s)</source>
        <translation> sweep(s)</translation>
    </message>
    <message>
        <source>f max :</source>
        <translation>f max:</translation>
    </message>
    <message>
        <source>auto</source>
        <translation>auto</translation>
    </message>
    <message>
        <source>|Fréquence la plus haute affichée ; molette et glisser sur l&apos;axe des fréquences pour zoomer et déplacer, double clic pour revenir en automatique</source>
        <translation>|Highest frequency shown; wheel and drag on the frequency axis to zoom and move, double click to go back to automatic</translation>
    </message>
    <message>
        <source>|Fenêtre de pondération : Hann pour les fréquences, sommet plat pour les amplitudes</source>
        <translation>|Weighting window: Hann for the frequencies, flat top for the amplitudes</translation>
    </message>
    <message>
        <source>Voie </source>
        <translation>Channel </translation>
    </message>
    <message>
        <source> : </source>
        <translation>: </translation>
    </message>
    <message>
        <source>Entrée</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>active</source>
        <translation>on</translation>
    </message>
    <message>
        <source>V&gt;0</source>
        <translation>V&gt;0</translation>
    </message>
    <message>
        <source>|Tension positive</source>
        <translation>|Positive voltage</translation>
    </message>
    <message>
        <source>calibre</source>
        <translation>range</translation>
    </message>
    <message>
        <source>50 mV</source>
        <translation>50 mV</translation>
    </message>
    <message>
        <source>100 mV</source>
        <translation>100 mV</translation>
    </message>
    <message>
        <source>200 mV</source>
        <translation>200 mV</translation>
    </message>
    <message>
        <source>500 mV</source>
        <translation>500 mV</translation>
    </message>
    <message>
        <source>1 V</source>
        <translation>1 V</translation>
    </message>
    <message>
        <source>2 V</source>
        <translation>2 V</translation>
    </message>
    <message>
        <source>5 V</source>
        <translation>5 V</translation>
    </message>
    <message>
        <source>15 V</source>
        <translation>15 V</translation>
    </message>
    <message>
        <source>Point par point</source>
        <translation>Point by point</translation>
    </message>
    <message>
        <source>Automatique</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>% de variation mini pour faire acquérir un point</source>
        <translation>Least change in % that acquires a point</translation>
    </message>
    <message>
        <source>Synchronisation</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>Voie</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>Clavier</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>Monocoup</source>
        <translation>Single shot</translation>
    </message>
    <message>
        <source>Préacquisition</source>
        <translation>Pre-trigger</translation>
    </message>
    <message>
        <source>Etalonne</source>
        <translation>Calibrate</translation>
    </message>
    <message>
        <source>|Etalonnage de la valeur du seuil</source>
        <translation>|Calibrates the level value</translation>
    </message>
    <message>
        <source>Sens</source>
        <translation>Edge</translation>
    </message>
    <message>
        <source>Seuil (V)</source>
        <translation>Level (V)</translation>
    </message>
    <message>
        <source>Seuil : </source>
        <translation>Level: </translation>
    </message>
    <message>
        <source> (V)</source>
        <translation> (V)</translation>
    </message>
    <message>
        <source>Seuil modifiable par cliquer déplacer de sa ligne sur le graphe</source>
        <translation>Drag its line on the graph to change the level</translation>
    </message>
    <message>
        <source>Base de temps</source>
        <translation>Time base</translation>
    </message>
    <message>
        <source>Durée</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>Fréq. éch.</source>
        <translation>Sample rate</translation>
    </message>
    <message>
        <source>Nombre de points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Barre d&apos;espace : lancer ou arrêter l&apos;acquisition</source>
        <translation>Space bar: start or stop the acquisition</translation>
    </message>
    <message>
        <source>Augmenter la durée</source>
        <translation>Longer duration</translation>
    </message>
    <message>
        <source>Diminuer la durée</source>
        <translation>Shorter duration</translation>
    </message>
    <message>
        <source>Augmenter le nombre de points</source>
        <translation>More points</translation>
    </message>
    <message>
        <source>Diminuer le nombre de points</source>
        <translation>Fewer points</translation>
    </message>
    <message>
        <source>Monter le seuil</source>
        <translation>Raise the level</translation>
    </message>
    <message>
        <source>Baisser le seuil</source>
        <translation>Lower the level</translation>
    </message>
    <message>
        <source>Graphe</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>Base de temps %1 ; %2 ; %3</source>
        <translation>Time base %1; %2; %3</translation>
    </message>
    <message>
        <source>Point par point ; abscisse : %1 ; %2</source>
        <translation>Point by point; abscissa: %1; %2</translation>
    </message>
    <message>
        <source>voie active : %1</source>
        <translation>channel on: %1</translation>
    </message>
    <message>
        <source>voies actives : %1</source>
        <translation>channels on: %1</translation>
    </message>
    <message>
        <source>aucune voie active</source>
        <translation>no channel on</translation>
    </message>
    <message>
        <source>synchronisation au clavier</source>
        <translation>keyboard trigger</translation>
    </message>
    <message>
        <source>synchronisation sur %1, front montant à %2</source>
        <translation>trigger on %1, rising edge at %2</translation>
    </message>
    <message>
        <source>synchronisation sur %1, front descendant à %2</source>
        <translation>trigger on %1, falling edge at %2</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>MàJ|Mise à jour du GBF</source>
        <translation>Update|Updates the generator</translation>
    </message>
    <message>
        <source>Cliquer pour mettre à jour le GBF</source>
        <translation>Click to update the generator</translation>
    </message>
    <message>
        <source>GBF OK</source>
        <translation>Generator OK</translation>
    </message>
    <message>
        <source>Fréquence du GBF (Hz)</source>
        <translation>Generator frequency (Hz)</translation>
    </message>
    <message>
        <source>Signal</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>Carré</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Triangle</source>
        <translation>Triangle</translation>
    </message>
    <message>
        <source>Sinus</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Arbitraire</source>
        <translation>Arbitrary</translation>
    </message>
    <message>
        <source>Décalage</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>Zéro</source>
        <translation>Zero</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>Amplitude</translation>
    </message>
    <message>
        <source>Rapport cyclique</source>
        <translation>Duty cycle</translation>
    </message>
    <message>
        <source>50 %</source>
        <translation>50%</translation>
    </message>
    <message>
        <source>Tension exprimée en fonction de t (temps réduit de 0 à 1) = </source>
        <translation>Voltage as a function of t (reduced time from 0 to 1) = </translation>
    </message>
    <message>
        <source>Formule refusée</source>
        <translation>Formula refused</translation>
    </message>
    <message>
        <source>Décocher &quot;Automatique&quot; pour arrêter l&apos;acquisition</source>
        <translation>Untick &quot;Automatic&quot; to stop the acquisition</translation>
    </message>
    <message>
        <source>Cliquer &quot;Acquisition&quot; ou frapper la barre d&apos;espace pour enregistrer le point courant</source>
        <translation>Click &quot;Acquire&quot; or press the space bar to record the current point</translation>
    </message>
    <message>
        <source>16384 points enregistrés : la mémoire est pleine (&quot;RàZ&quot; ou &quot;Défaire&quot; pour continuer)</source>
        <translation>16384 points recorded: the memory is full (&quot;Reset&quot; or &quot;Undo&quot; to go on)</translation>
    </message>
    <message>
        <source>Aucune acquisition à enregistrer : lancer d&apos;abord une acquisition.</source>
        <translation>No acquisition to save: start an acquisition first.</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire le fichier %1 :
%2</source>
        <translation>Cannot write the file %1:
%2</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Ouvrir|Affiche une mesure enregistrée (Ctrl+O)</source>
        <translation>Open|Shows a saved measurement (Ctrl+O)</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Enregistrer|Enregistre la dernière acquisition, ou les points relevés (Ctrl+S)</source>
        <translation>Save|Saves the last acquisition, or the points taken (Ctrl+S)</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Image|Copie le graphe ou l&apos;exporte en image</source>
        <translation>Image|Copies the graph or exports it as an image</translation>
    </message>
    <message>
        <source>Copier dans le presse-papiers</source>
        <translation>Copy to the clipboard</translation>
    </message>
    <message>
        <source>Exporter en PNG...</source>
        <translation>Export as PNG...</translation>
    </message>
    <message>
        <source>Exporter en SVG...</source>
        <translation>Export as SVG...</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Imprimer|Imprime le graphe ou l&apos;enregistre en PDF (Ctrl+P)</source>
        <translation>Print|Prints the graph or saves it as PDF (Ctrl+P)</translation>
    </message>
    <message>
        <source>Fichiers récents</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>Mesure qvt2 (*.qvtm)</source>
        <translation>qvt2 measurement (*.qvtm)</translation>
    </message>
    <message>
        <source>CSV (tableur) (*.csv)</source>
        <translation>CSV (spreadsheet) (*.csv)</translation>
    </message>
    <message>
        <source>Image PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Image SVG (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <source>Format CSV</source>
        <translation>CSV format</translation>
    </message>
    <message>
        <source>Séparateur</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Marque décimale</source>
        <translation>Decimal mark</translation>
    </message>
    <message>
        <source>Excel (UTF-8 avec BOM)</source>
        <translation>Excel (UTF-8 with BOM)</translation>
    </message>
    <message>
        <source>; (point-virgule)</source>
        <translation>; (semicolon)</translation>
    </message>
    <message>
        <source>, (virgule)</source>
        <translation>, (comma)</translation>
    </message>
    <message>
        <source>Tabulation</source>
        <translation>Tab</translation>
    </message>
    <message>
        <source>. (point)</source>
        <translation>. (point)</translation>
    </message>
    <message>
        <source>Largeur de l&apos;image en pixels :</source>
        <translation>Image width in pixels:</translation>
    </message>
    <message>
        <source>QVT2 - %1</source>
        <translation>QVT2 - %1</translation>
    </message>
    <message>
        <source>%1 ; base de temps %2</source>
        <translation>%1; time base %2</translation>
    </message>
    <message>
        <source>%1 ; point par point</source>
        <translation>%1; point by point</translation>
    </message>
    <message>
        <source>Mesure trop longue pour le graphe (%1 lignes, au plus %2) : %3</source>
        <translation>Measurement too long for the graph (%1 rows, at most %2): %3</translation>
    </message>
    <message>
        <source>Voie %1 présente deux fois : %2</source>
        <translation>Channel %1 present twice: %2</translation>
    </message>
    <message>
        <source>Impossible d&apos;écrire l&apos;image %1</source>
        <translation>Cannot write the image %1</translation>
    </message>
    <message>
        <source>Enregistrer en continu</source>
        <translation>Record continuously</translation>
    </message>
    <message>
        <source>|Chaque point (ou échantillon des balayages lents) est écrit aussitôt dans le fichier</source>
        <translation>|Each point (or sample of the slow sweeps) is written to the file at once</translation>
    </message>
    <message>
        <source>Attente de synchronisation</source>
        <translation>Waiting for the trigger</translation>
    </message>
    <message>
        <source>Seuil de synchronisation</source>
        <translation>Trigger level</translation>
    </message>
    <message>
        <source>Vexor QVT II non connectée</source>
        <translation>Vexor QVT II not connected</translation>
    </message>
    <message>
        <source>Vérifier puis cliquer ici</source>
        <translation>Check, then click here</translation>
    </message>
    <message>
        <source>Abandon</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Eteindre QVT II puis rallumer</source>
        <translation>Switch QVT II off and on again</translation>
    </message>
    <message>
        <source>Aide|Le guide de l&apos;utilisateur (F1 : la page de ce qui a le focus)</source>
        <translation>Help|The user&apos;s guide (F1: the page of what has the focus)</translation>
    </message>
</context>
<context>
    <name>MeasureFile</name>
    <message>
        <source>Enregistrement arrêté, écriture impossible (%1) : %2</source>
        <translation>Recording stopped, cannot write (%1): %2</translation>
    </message>
    <message>
        <source>%1 : %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Enregistrement impossible (%1) : %2</source>
        <translation>Cannot record (%1): %2</translation>
    </message>
    <message>
        <source>Aucun enregistrement en cours</source>
        <translation>No recording in progress</translation>
    </message>
    <message>
        <source>Enregistrement : %1 valeurs au lieu de %2 : %3</source>
        <translation>Recording: %1 values instead of %2: %3</translation>
    </message>
    <message>
        <source>Enregistrement : valeur non finie ignorée : %1</source>
        <translation>Recording: non-finite value ignored: %1</translation>
    </message>
    <message>
        <source>Enregistrement incomplet (%1) : %2</source>
        <translation>Recording incomplete (%1): %2</translation>
    </message>
    <message>
        <source>Constante %1 : %2</source>
        <translation>Constant %1: %2</translation>
    </message>
    <message>
        <source>Constante %1 : la ligne n&apos;est pas une constante</source>
        <translation>Constant %1: the line is not a constant</translation>
    </message>
    <message>
        <source>Grandeur calculée « %1 » (colonne %2)</source>
        <translation>Computed quantity &quot;%1&quot; (column %2)</translation>
    </message>
    <message>
        <source>%1 : la ligne est celle d&apos;une constante</source>
        <translation>%1: the line is a constant&apos;s</translation>
    </message>
    <message>
        <source>Écriture impossible (%1) : %2</source>
        <translation>Cannot write (%1): %2</translation>
    </message>
    <message>
        <source>Valeur « %1 » invalide pour « %2 »</source>
        <translation>Invalid value &quot;%1&quot; for &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Valeur non numérique « %1 » ligne %2, colonne %3</source>
        <translation>Non-numeric value &quot;%1&quot; at line %2, column %3</translation>
    </message>
    <message>
        <source>Valeur non finie ligne %1, colonne %2</source>
        <translation>Non-finite value at line %1, column %2</translation>
    </message>
    <message>
        <source>Ligne %1 : %2 valeurs au lieu de %3</source>
        <translation>Line %1: %2 values instead of %3</translation>
    </message>
    <message>
        <source>Mesure incohérente : la voie « %1 » a %2 valeurs pour %3 instants</source>
        <translation>Inconsistent measurement: channel &quot;%1&quot; has %2 values for %3 times</translation>
    </message>
    <message>
        <source>Mesure incohérente : la grandeur « %1 » a %2 valeurs pour %3 instants</source>
        <translation>Inconsistent measurement: quantity &quot;%1&quot; has %2 values for %3 times</translation>
    </message>
    <message>
        <source>Mesure trop grande pour un fichier</source>
        <translation>Measurement too large for a file</translation>
    </message>
    <message>
        <source>Mesure non enregistrable : elle contient une valeur non finie</source>
        <translation>Measurement cannot be saved: it holds a non-finite value</translation>
    </message>
    <message>
        <source>Fichier trop volumineux (%1 octets, %2 Mo au plus)</source>
        <translation>File too large (%1 bytes, %2 MB at most)</translation>
    </message>
    <message>
        <source>Fichier vide</source>
        <translation>Empty file</translation>
    </message>
    <message>
        <source>Ce fichier n&apos;est pas une mesure qvt2 (ligne « # format: qvtm » absente)</source>
        <translation>This file is not a qvt2 measurement (no &quot;# format: qvtm&quot; line)</translation>
    </message>
    <message>
        <source>Fichier tronqué</source>
        <translation>Truncated file</translation>
    </message>
    <message>
        <source>%1, ligne %2</source>
        <translation>%1, line %2</translation>
    </message>
    <message>
        <source>Fichier d&apos;une version plus récente de qvt2 (format %1, cette version lit le format %2)</source>
        <translation>File from a newer version of qvt2 (format %1; this version reads format %2)</translation>
    </message>
    <message>
        <source>Fichier tronqué (%1 lignes de données sur %2)</source>
        <translation>Truncated file (%1 data lines out of %2)</translation>
    </message>
    <message>
        <source>Fichier incohérent (%1 lignes de données au lieu de %2)</source>
        <translation>Inconsistent file (%1 data lines instead of %2)</translation>
    </message>
    <message>
        <source>Lecture impossible (%1) : %2</source>
        <translation>Cannot read (%1): %2</translation>
    </message>
    <message>
        <source>Fichier trop volumineux (%1 octets, %2 Mo au plus) : %3</source>
        <translation>File too large (%1 bytes, %2 MB at most): %3</translation>
    </message>
</context>
<context>
    <name>Measures</name>
    <message>
        <source>f</source>
        <translation>f</translation>
    </message>
    <message>
        <source>T</source>
        <translation>T</translation>
    </message>
    <message>
        <source>Vpp</source>
        <translation>Vpp</translation>
    </message>
    <message>
        <source>Vmin</source>
        <translation>Vmin</translation>
    </message>
    <message>
        <source>Vmax</source>
        <translation>Vmax</translation>
    </message>
    <message>
        <source>Vmoy</source>
        <translation>Vavg</translation>
    </message>
    <message>
        <source>Veff</source>
        <translation>Vrms</translation>
    </message>
    <message>
        <source>Vamp</source>
        <translation>Vamp</translation>
    </message>
    <message>
        <source>Rapport cyclique</source>
        <translation>Duty cycle</translation>
    </message>
    <message>
        <source>Montée</source>
        <translation>Rise time</translation>
    </message>
    <message>
        <source>Descente</source>
        <translation>Fall time</translation>
    </message>
    <message>
        <source>Retard</source>
        <translation>Delay</translation>
    </message>
    <message>
        <source>Phase</source>
        <translation>Phase</translation>
    </message>
</context>
<context>
    <name>Models</name>
    <message>
        <source>Linéaire</source>
        <translation>Proportional</translation>
    </message>
    <message>
        <source>Affine</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>Parabole</source>
        <translation>Parabola</translation>
    </message>
    <message>
        <source>Polynôme</source>
        <translation>Polynomial</translation>
    </message>
    <message>
        <source>Exponentielle</source>
        <translation>Exponential</translation>
    </message>
    <message>
        <source>Charge</source>
        <translation>Charge</translation>
    </message>
    <message>
        <source>Sinus</source>
        <translation>Sine</translation>
    </message>
    <message>
        <source>Sinus amorti</source>
        <translation>Damped sine</translation>
    </message>
    <message>
        <source>Puissance</source>
        <translation>Power law</translation>
    </message>
    <message>
        <source>Gaussienne</source>
        <translation>Gaussian</translation>
    </message>
    <message>
        <source>Expression</source>
        <translation>Expression</translation>
    </message>
</context>
<context>
    <name>ShowMessage</name>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>TComputedCurves</name>
    <message>
        <source>Grandeurs calculées pas encore vérifiées</source>
        <translation>Computed quantities not checked yet</translation>
    </message>
</context>
<context>
    <name>TGrapheSpectre</name>
    <message>
        <source>Voie %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>%1 : rang, f, A, dB</source>
        <translation>%1: rank, f, A, dB</translation>
    </message>
</context>
<context>
    <name>TgraphePoint</name>
    <message>
        <source>Erreur</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>qvt::TAboutBox</name>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Oscilloscope et générateur basse fréquence
pour l&apos;interface Vexor QVT II</source>
        <translation>Oscilloscope and low-frequency generator
for the Vexor QVT II interface</translation>
    </message>
</context>
<context>
    <name>qvt::TCalcToolsBar</name>
    <message>
        <source>Outils</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Aucun</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Tangente</source>
        <translation>Tangent</translation>
    </message>
    <message>
        <source>Pente</source>
        <translation>Slope</translation>
    </message>
    <message>
        <source>Aire</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>Statistiques</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Outil</source>
        <translation>Tool</translation>
    </message>
    <message>
        <source>Courbe</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>Niveau</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Niveau dont la tangente donne le croisement (ex. la valeur finale d&apos;une charge, pour lire τ)</source>
        <translation>Level whose crossing the tangent gives (e.g. the final value of a charge, to read τ)</translation>
    </message>
    <message>
        <source>Points de l&apos;ajustement local de la tangente</source>
        <translation>Points of the tangent&apos;s local fit</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>pente</source>
        <translation>slope</translation>
    </message>
    <message>
        <source>Copier les résultats</source>
        <translation>Copy the results</translation>
    </message>
    <message>
        <source>Voie %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>Cliquez sur la courbe à l&apos;endroit de la tangente</source>
        <translation>Click on the curve where the tangent goes</translation>
    </message>
    <message>
        <source>Pas de tangente en ce point</source>
        <translation>No tangent at this point</translation>
    </message>
    <message>
        <source>Pas de pente : la courbe n&apos;a pas de valeur à une borne</source>
        <translation>No slope: the curve has no value at a marker</translation>
    </message>
    <message>
        <source>Pas d&apos;aire : les bornes sortent de la courbe</source>
        <translation>No area: the markers lie outside the curve</translation>
    </message>
    <message>
        <source>Aucun point entre les bornes</source>
        <translation>No point between the markers</translation>
    </message>
    <message>
        <source>de %1</source>
        <translation>from %1</translation>
    </message>
    <message>
        <source>à %1</source>
        <translation>to %1</translation>
    </message>
    <message>
        <source>tangente en %1</source>
        <translation>tangent at %1</translation>
    </message>
    <message>
        <source>axe en %1</source>
        <translation>axis at %1</translation>
    </message>
    <message>
        <source>niveau %1 en %2</source>
        <translation>level %1 at %2</translation>
    </message>
    <message>
        <source>aire</source>
        <translation>area</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>moyenne</source>
        <translation>mean</translation>
    </message>
    <message>
        <source>écart type</source>
        <translation>std. dev.</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>max</source>
        <translation>max</translation>
    </message>
    <message>
        <source>Grandeur</source>
        <translation>Quantity</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
</context>
<context>
    <name>qvt::TCalculsDlg</name>
    <message>
        <source>Calculs</source>
        <translation>Calculations</translation>
    </message>
    <message>
        <source>Grandeurs calculées</source>
        <translation>Computed quantities</translation>
    </message>
    <message>
        <source>Constantes</source>
        <translation>Constants</translation>
    </message>
    <message>
        <source>Une formule lit t, les voies (V0 à V3 ou leur nom), les constantes
et les grandeurs au-dessus d&apos;elle : P = V0*V1, i = U/R.
Ctrl+lettre tape les lettres grecques et Ω.
Une unité laissée vide est déduite de la formule.</source>
        <translation>A formula reads t, the channels (V0 to V3 or their names), the constants
and the quantities above it: P = V0*V1, i = U/R.
Ctrl+letter types the Greek letters and Ω.
A unit left empty is derived from the formula.</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Formule ou source</source>
        <translation>Formula or source</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Méthode</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>Couleur</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Échelle</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Formule</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>Dérivée</source>
        <translation>Derivative</translation>
    </message>
    <message>
        <source>Intégrale</source>
        <translation>Integral</translation>
    </message>
    <message>
        <source>Lissage</source>
        <translation>Smoothing</translation>
    </message>
    <message>
        <source>Savitzky-Golay</source>
        <translation>Savitzky-Golay</translation>
    </message>
    <message>
        <source>Moyenne glissante</source>
        <translation>Moving average</translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>auto</source>
        <translation>auto</translation>
    </message>
    <message>
        <source>à</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Nom de la grandeur : 8 caractères au plus, une lettre d&apos;abord</source>
        <translation>Name of the quantity: 8 characters at most, a letter first</translation>
    </message>
    <message>
        <source>Unité ; vide : celle que donne la formule</source>
        <translation>Unit; empty: the one the formula gives</translation>
    </message>
    <message>
        <source>Formule, ou dérivée, intégrale ou lissage d&apos;une voie ou d&apos;une grandeur au-dessus</source>
        <translation>Formula, or derivative, integral or smoothing of a channel or of a quantity above</translation>
    </message>
    <message>
        <source>Formule en t, les voies, les constantes et les grandeurs au-dessus, par exemple V0*V1/R</source>
        <translation>Formula in t, the channels, the constants and the quantities above, for example V0*V1/R</translation>
    </message>
    <message>
        <source>La voie ou la grandeur dérivée, intégrée ou lissée</source>
        <translation>The channel or quantity that is differentiated, integrated or smoothed</translation>
    </message>
    <message>
        <source>Nombre impair de points du filtre, de 3 à 51</source>
        <translation>Odd number of filter points, from 3 to 51</translation>
    </message>
    <message>
        <source>Méthode de lissage</source>
        <translation>Smoothing method</translation>
    </message>
    <message>
        <source>Échelle automatique, ou de min à max (unités SI)</source>
        <translation>Automatic scale, or from min to max (SI units)</translation>
    </message>
    <message>
        <source>Valeur : 100, 4,7k, 2.2e-6</source>
        <translation>Value: 100, 4.7k, 2.2e-6</translation>
    </message>
    <message>
        <source>Constante %1 : valeur %2 illisible</source>
        <translation>Constant %1: value %2 cannot be read</translation>
    </message>
    <message>
        <source>%1 : échelle %2 illisible</source>
        <translation>%1: scale %2 cannot be read</translation>
    </message>
    <message>
        <source>%1 : le minimum de l&apos;échelle doit être inférieur au maximum</source>
        <translation>%1: the scale&apos;s minimum must be less than its maximum</translation>
    </message>
    <message>
        <source>« %1 »</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>&amp;Ajouter</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>&amp;Supprimer</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>&amp;Monter</source>
        <translation>Move &amp;up</translation>
    </message>
    <message>
        <source>&amp;Descendre</source>
        <translation>Move &amp;down</translation>
    </message>
    <message>
        <source>Ajou&amp;ter</source>
        <translation>Add co&amp;nstant</translation>
    </message>
    <message>
        <source>Suppr&amp;imer</source>
        <translation>Remove cons&amp;tant</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>A&amp;nnuler</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>max</source>
        <translation>max</translation>
    </message>
</context>
<context>
    <name>qvt::TChannelDlg</name>
    <message>
        <source>&amp;Grandeur physique</source>
        <translation>&amp;Physical quantity</translation>
    </message>
    <message>
        <source>tension aux bornes du condensateur C1</source>
        <translation>voltage across the capacitor C1</translation>
    </message>
    <message>
        <source>&amp;Nom</source>
        <translation>&amp;Name</translation>
    </message>
    <message>
        <source>&amp;Unité</source>
        <translation>&amp;Unit</translation>
    </message>
    <message>
        <source>&amp;Signif.</source>
        <translation>&amp;Meaning</translation>
    </message>
    <message>
        <source>&amp;Couleur</source>
        <translation>&amp;Colour</translation>
    </message>
    <message>
        <source>&amp;Activer</source>
        <translation>&amp;Switch on</translation>
    </message>
    <message>
        <source>&amp;Désactiver</source>
        <translation>Switch &amp;off</translation>
    </message>
</context>
<context>
    <name>qvt::TColourCombo</name>
    <message>
        <source>Noir</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Marron</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>Vert</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Olive</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>Bleu marine</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>Pourpre</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>Sarcelle</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>Gris</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Argent</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>Rouge</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Vert citron</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>Jaune</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Bleu</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Fuchsia</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Blanc</source>
        <translation>White</translation>
    </message>
    <message>
        <source>Vert monnaie</source>
        <translation>Money green</translation>
    </message>
    <message>
        <source>Bleu ciel</source>
        <translation>Sky blue</translation>
    </message>
    <message>
        <source>Crème</source>
        <translation>Cream</translation>
    </message>
    <message>
        <source>Gris moyen</source>
        <translation>Medium grey</translation>
    </message>
</context>
<context>
    <name>qvt::TConfigVoiePointDlg</name>
    <message>
        <source>Croix</source>
        <translation>Cross</translation>
    </message>
    <message>
        <source>Croix diag.</source>
        <translation>Diagonal cross</translation>
    </message>
    <message>
        <source>Cercle</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Carré</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>Losange</source>
        <translation>Diamond</translation>
    </message>
    <message>
        <source>&amp;Marque</source>
        <translation>Mar&amp;ker</translation>
    </message>
</context>
<context>
    <name>qvt::TConstanteDlg</name>
    <message>
        <source>Renseignements sur la page courante</source>
        <translation>About the current page</translation>
    </message>
    <message>
        <source>&amp;Commentaire</source>
        <translation>&amp;Comment</translation>
    </message>
    <message>
        <source>Données vers &amp;Kalkio</source>
        <translation>Data to &amp;Kalkio</translation>
    </message>
    <message>
        <source>Nouveau &amp;fichier</source>
        <translation>New &amp;file</translation>
    </message>
    <message>
        <source>Nouvelle &amp;page</source>
        <translation>New &amp;page</translation>
    </message>
    <message>
        <source>Paramètre</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>&amp;Symbole</source>
        <translation>&amp;Symbol</translation>
    </message>
    <message>
        <source>&amp;Unité</source>
        <translation>&amp;Unit</translation>
    </message>
    <message>
        <source>&amp;Valeur</source>
        <translation>&amp;Value</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Abandon</source>
        <translation>Cance&amp;l</translation>
    </message>
    <message>
        <source>&amp;Aide</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Nombre mal écrit</source>
        <translation>Badly written number</translation>
    </message>
</context>
<context>
    <name>qvt::TDDEForm</name>
    <message>
        <source>Un message à la fois SVP</source>
        <translation>One message at a time, please</translation>
    </message>
    <message>
        <source>Fonction inconnue : %1</source>
        <translation>Unknown function: %1</translation>
    </message>
    <message>
        <source>Syntaxe Macro DDE : Fonction(Paramètre)</source>
        <translation>DDE macro syntax: Function(Parameter)</translation>
    </message>
    <message>
        <source>Impossible de lancer Kalkio</source>
        <translation>Kalkio cannot be started</translation>
    </message>
    <message>
        <source>%1 non exécuté</source>
        <translation>%1 not executed</translation>
    </message>
    <message>
        <source>Bascule vers Kalkio non effectué</source>
        <translation>Switching to Kalkio failed</translation>
    </message>
</context>
<context>
    <name>qvt::TEtalonSeuilDlg</name>
    <message>
        <source>Etalonnage du seuil de synchronisation</source>
        <translation>Trigger level calibration</translation>
    </message>
    <message>
        <source>Connecter les prises BNC G0 et Y0, puis cliquer ici</source>
        <translation>Connect the BNC sockets G0 and Y0, then click here</translation>
    </message>
    <message>
        <source>&amp;Annuler</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>qvt::TGuideWindow</name>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Page précédente (Alt+Gauche)</source>
        <translation>Previous page (Alt+Left)</translation>
    </message>
    <message>
        <source>Page précédente</source>
        <translation>Previous page</translation>
    </message>
    <message>
        <source>Page suivante (Alt+Droite)</source>
        <translation>Next page (Alt+Right)</translation>
    </message>
    <message>
        <source>Page suivante</source>
        <translation>Next page</translation>
    </message>
    <message>
        <source>Sommaire</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>&lt;p&gt;Le guide n&apos;est pas installé ; il est cherché dans :&lt;/p&gt;&lt;p&gt;%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;The guide is not installed; it is looked for in:&lt;/p&gt;&lt;p&gt;%1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Page introuvable : %1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Page not found: %1&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>qvt::TModelPanel</name>
    <message>
        <source>Modélisation</source>
        <translation>Model fit</translation>
    </message>
    <message>
        <source>Expression</source>
        <translation>Expression</translation>
    </message>
    <message>
        <source>Courbe</source>
        <translation>Curve</translation>
    </message>
    <message>
        <source>Modèle</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>Degré</source>
        <translation>Degree</translation>
    </message>
    <message>
        <source>Expression du modèle</source>
        <translation>Model expression</translation>
    </message>
    <message>
        <source>Nom</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Valeur</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Unité</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Bloqué</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>Réajuster</source>
        <translation>Refit</translation>
    </message>
    <message>
        <source>Résidus</source>
        <translation>Residuals</translation>
    </message>
    <message>
        <source>Copier le modèle</source>
        <translation>Copy the model</translation>
    </message>
    <message>
        <source>Valeur de départ : tapez-la ici</source>
        <translation>Starting value: type it here</translation>
    </message>
    <message>
        <source>Voie %1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>%1 : %2</source>
        <comment>model and formula in the graph&apos;s legend</comment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Paramètre</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Incertitude</source>
        <translation>Uncertainty</translation>
    </message>
    <message>
        <source>Résidus ±%1</source>
        <translation>Residuals ±%1</translation>
    </message>
</context>
<context>
    <name>qvt::TOptionsDlg</name>
    <message>
        <source>Options QVT II </source>
        <translation>QVT II options </translation>
    </message>
    <message>
        <source>Mode d&apos;acquisition</source>
        <translation>Acquisition mode</translation>
    </message>
    <message>
        <source>temporelle</source>
        <translation>against time</translation>
    </message>
    <message>
        <source>point par point</source>
        <translation>point by point</translation>
    </message>
    <message>
        <source>Grille</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Epaisseur des courbes</source>
        <translation>Line width of the curves</translation>
    </message>
    <message>
        <source>Abscisse</source>
        <translation>Abscissa</translation>
    </message>
    <message>
        <source>Superposition type analyseur logique</source>
        <translation>Logic analyser layout</translation>
    </message>
    <message>
        <source>Affichage rapide</source>
        <translation>Fast display</translation>
    </message>
    <message>
        <source>Automatique</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>&amp;Langue</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Prise en compte au prochain démarrage</source>
        <translation>Takes effect at the next start</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Abandon</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
</TS>
