<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!-- A small catalogue for english_texts_test.cpp: accents, a text in two contexts, a plural, a character beyond 16 bits, one without a translation. -->
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>MeasureFile</name>
    <message>
        <source>Fichier tronqué</source>
        <translation>Truncated file</translation>
    </message>
    <message>
        <source>Lecture impossible (%1) : %2</source>
        <translation>Cannot read (%1): %2</translation>
    </message>
    <message>
        <source>Voie</source>
        <translation>Channel</translation>
    </message>
    <message numerus="yes">
        <source>%n point(s)</source>
        <translation>
            <numerusform>%n point</numerusform>
            <numerusform>%n points</numerusform>
        </translation>
    </message>
    <message>
        <source>Pas encore traduit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Fit</name>
    <message>
        <source>Voie</source>
        <translation>Trace 𝑦 (µs)</translation>
    </message>
</context>
</TS>
