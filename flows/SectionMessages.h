#pragma once
// The messages of the section analyses beyond the number and fault messages.

namespace prurez::sectionMessages {

inline constexpr const char* noMaterial = "Není zvolen materiál průřezu.";
inline constexpr const char* noDiagram = "Není zvolen pracovní diagram betonu.";
inline constexpr const char* noShape = "Není zvolen typ průřezu.";
inline constexpr const char* noTensionChoice = "Není zvoleno, zda beton v tahu působí.";
inline constexpr const char* stepNotPositive = "Přírůstek křivosti musí být kladné číslo.";
inline constexpr const char* dimensionsNotPositive = "Rozměry průřezu musí být kladná čísla.";
inline constexpr const char* modulusNotPositive = "Modul pružnosti betonu musí být kladné číslo.";
inline constexpr const char* strengthNotPositive = "Pevnost betonu v tlaku musí být kladné číslo.";
// Followed by the curvature text and noEquilibriumEnd.
inline constexpr const char* noEquilibriumStart = "Při křivosti ";
inline constexpr const char* noEquilibriumEnd =
    " [m-1] nebyla v průřezu nalezena rovnováha sil. Výpočet byl ukončen.";
inline constexpr const char* tooManySteps =
    "Výpočet překročil 65535 kroků křivosti a byl ukončen. Zvolte větší přírůstek křivosti.";
inline constexpr const char* bottomAreaNegative = "Plocha výztuže při dolním povrchu nesmí být záporná.";
inline constexpr const char* interactionPointsOutOfRange =
    "Počet sil interakčního diagramu musí být celé číslo od 2 do 1001.";
inline constexpr const char* profilePointsOutOfRange =
    "Počet hloubek průběhu napětí a přetvoření musí být celé číslo od 2 do 100001.";
inline constexpr const char* curvatureNegative = "Křivost nesmí být záporná.";
inline constexpr const char* topAreaNegative = "Plocha výztuže při horním povrchu nesmí být záporná.";
// Followed by the number of computed steps and cancelledEnd.
inline constexpr const char* cancelledStart = "Výpočet byl přerušen. Tabulka obsahuje dosud spočtené kroky křivosti (";
inline constexpr const char* cancelledEnd = ").";

}  // namespace prurez::sectionMessages
