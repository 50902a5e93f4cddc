#pragma once
// The section input window: material, diagram, section, axial force, curvature step
// and output file name; "   VÝPOČET" runs the section analysis into the results
// window's table.

#include "flows/SectionFlow.h"
#include "ui/widgets/FailedText.h"
#include "ui/widgets/Window.h"

#include <QList>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace prurez {

class Failure;
class FileListControls;
class RadioGroup;

class Form6 : public Window {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    // The hand-over from the inverse analysis: material "Drátkobeton", diagram
    // "Bilineární", concrete in tension "Ano", all three locked for the rest of the run;
    // Edit1 … Edit7 filled with fcp, fct, E, ecpm, ectm, a, b (in this order).
    void continueFromInverseAnalysis(const std::array<std::string, 7>& texts);
    // The same for a fit's seven texts in the order E, fcp, fct, ecpm, ectm, a, b.
    void continueFromFit(const std::array<std::string, 7>& fit);

    // The texts and choices as they stand.
    SectionTexts texts() const;
    // The output file name (Edit18), unchanged.
    QString outputFileName() const;

    // The input as a file that prurez-batch runs as it stands: saved from the texts and
    // choices (Uložit zadání…), or opened into them (Otevřít zadání…): the choices as
    // clicks, the material's locks kept, every field the file does not name emptied.
    // A file that cannot be written or read, or a malformed one, fails with a Czech
    // message (run inside guarded).
    void saveInput(const QString& fileName) const;
    void openInput(const QString& fileName);

public slots:
    void RadioGroup1Click();
    void RadioGroup2Click();
    void Button2Click();
    void BitBtn1Click();
    void SaveInputClick();
    void OpenInputClick();
    // "Interakční diagram N–M…": the interaction diagram of the texts, in its window.
    void InteractionClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildMaterialPage(QWidget* page);
    void buildSectionPage(QWidget* page);
    void buildLoadPage(QWidget* page);
    // Every field of the texts but the curvature step (the combo box), by its text.
    struct Field {
        std::string SectionTexts::*text;
        QLineEdit* edit;
    };
    std::vector<Field> fields() const;
    // The controls of the texts as they were read, for the failure of one of them.
    std::vector<TextSource> sources(const SectionTexts& texts) const;
    // Area and moment of inertia of the shape chosen, from the typed dimensions, into
    // Edit15 and Edit16 (nothing without a shape); a dimension that is no number fails
    // with its field shown, or, with `quiet`, leaves them empty.
    void fillCharacteristics(bool quiet = false);
    // A run refused for a choice not made (diagram, shape, concrete in tension): its
    // group brought forward, its page in front.
    void showMissingChoice(const Failure& failure);

    QTabWidget* PageControl1;
    // Page 1: concrete, steel, reinforcement, choices.
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLabel* Label9;  // caption of Edit6
    QLabel* Label8;  // caption of Edit7
    QLabel* edit6Unit;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit19;
    QLineEdit* Edit20;
    QList<QWidget*> reinforcedOnly;  // the steel and reinforcement blocks, every control
    RadioGroup* RadioGroup1;
    RadioGroup* RadioGroup3;
    RadioGroup* RadioGroup5;
    // Page 2: the section.
    RadioGroup* RadioGroup2;
    QLabel* Label27;  // caption of Edit13
    QLineEdit* Edit13;
    QLabel* edit13Unit;
    QLabel* heightLabel;
    QLineEdit* Edit14;
    QLabel* edit14Unit;
    QLineEdit* Edit15;
    QLineEdit* Edit16;
    QList<QWidget*> characteristicsRows;  // labels, fields and units of Edit15, Edit16
    QPushButton* Button2;
    // Page 3: load, step, output file.
    QLineEdit* Edit17;
    QComboBox* ComboBox1;
    QCheckBox* exactEquilibriumBox;  // "Přesná rovnováha sil"
    QLineEdit* Edit18;
    FileListControls* fileControls;
    QPushButton* BitBtn1;
    // While VÝPOČET runs: the steps computed so far, and "Přerušit".
    QLabel* runStatus;
    QProgressBar* runProgress;
    QPushButton* runCancel;
    QPushButton* OpenInputButton;
    QPushButton* SaveInputButton;
    QPushButton* InteractionButton;
};

}  // namespace prurez
