#pragma once
// The section working diagram without windows: the VÝPOČET action over the texts
// and choices of the section input window, and its section characteristics.

#include "common/GridTable.h"

#include <string>

namespace prurez {

// The texts and choices of the section input window (Form6), by control name.
// A choice is its item index, -1 when nothing is selected.
struct SectionFields {
    int RadioGroup1 = -1;  // material: 0 plain, 1 fibre, 2 reinforced concrete
    int RadioGroup3 = -1;  // compression diagram: 0 bilinear, 1 parabolic-rectangular, 2 parabolic
    int RadioGroup5 = -1;  // concrete in tension: 0 yes, 1 no
    int RadioGroup2 = -1;  // shape: 0 square, 1 rectangle

    std::string Edit1;   // fcp [MPa]
    std::string Edit2;   // fct [MPa]
    std::string Edit3;   // E [MPa]
    std::string Edit4;   // ultimate compressive strain [%]
    std::string Edit5;   // ultimate tensile strain [%]
    std::string Edit6;   // strain at peak stress [%] (fibre concrete: coefficient a)
    std::string Edit7;   // coefficient b (fibre concrete)
    std::string Edit8;   // steel yield strength [MPa]
    std::string Edit9;   // steel modulus [MPa]
    std::string Edit10;  // steel ultimate strain [%]
    std::string Edit11;  // bottom steel area [mm2]
    std::string Edit12;  // bottom steel distance from the bottom edge [m]
    std::string Edit13;  // edge a (square) or width b (rectangle) [m]
    std::string Edit14;  // height h (rectangle) [m]
    std::string Edit17;  // axial force N [kN], tension positive
    std::string Edit18 = "*.*";  // output file name
    std::string Edit19;  // top steel area [mm2]
    std::string Edit20;  // top steel distance from the top edge [m]
    std::string ComboBox1;  // curvature step [1/m]
};

// The choices that choosing a material fixes, as the material's click applies them:
// plain concrete sets "concrete in tension" to yes; fibre concrete sets it to yes and
// the diagram to bilinear; reinforced concrete leaves both as they are.
void applyMaterialChoice(SectionFields& fields);

struct SectionRunOptions {
    // The plain fixed-step neutral-axis scans, trial by trial.
    bool exhaustiveScan = false;
};

struct SectionOutcome {
    // False when no material was chosen: nothing happens.
    bool ran = false;
    // The run reached its end (or stopped with rows to show): beep and show the
    // results window with the table as it stands.
    bool showResults = false;
    // Not empty when the run stopped before a strain limit (no equilibrium, too many
    // steps): shown to the user after the results window.
    std::string stopMessage;
};

// VÝPOČET: reads the fields in the order of the chosen material, prepares the
// results table, runs the analysis and writes the end row and the table's size.
// A text that is not a number or a floating-point fault throws Failure; what was
// written to the table before stays.
SectionOutcome runSectionAnalysis(const SectionFields& fields, char decimalSeparator, GridTable& table,
                                  const SectionRunOptions& options = SectionRunOptions());

// Section characteristics (area and moment of inertia) for the chosen shape.
struct SectionCharacteristics {
    bool computed = false;  // false when no shape is chosen
    std::string area;       // text for Edit15 [m2]
    std::string inertia;    // text for Edit16 [m4]
};
SectionCharacteristics sectionCharacteristics(const SectionFields& fields, char decimalSeparator);

// The analyses of the three materials, called by runSectionAnalysis.
SectionOutcome plainConcreteAnalysis(const SectionFields& fields, char decimalSeparator, GridTable& table,
                                     const SectionRunOptions& options);
SectionOutcome fibreConcreteAnalysis(const SectionFields& fields, char decimalSeparator, GridTable& table,
                                     const SectionRunOptions& options);
SectionOutcome reinforcedConcreteAnalysis(const SectionFields& fields, char decimalSeparator, GridTable& table,
                                          const SectionRunOptions& options);

}  // namespace prurez
