#pragma once
// The input window of the inverse analysis: the bending test (page 1), the test
// moment–curvature (page 2) and the parameter ranges (page 3). Its handlers drive the
// inverse analysis session (inverseSession()), which keeps its fields' texts.

#include "flows/InverseFlow.h"
#include "flows/LineSeries.h"
#include "ui/widgets/FailedText.h"
#include "ui/widgets/Window.h"

#include <QStringList>

#include <string>
#include <vector>

class QChartView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace prurez {

class FileListControls;
class GridView;
class RadioGroup;
class UpDown;

class Form2 : public Window {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    // The test point table (page 1) and the test moment–curvature table (page 2).
    GridTable& testPoints();
    GridTable& testDiagram();
    // The number of test points as typed (Edit1).
    std::string pointCountText() const;
    // The test data files of a series (page 1, from a file), absolute paths in order.
    QStringList seriesFiles() const;

    // The input as a file that prurez-batch runs as it stands: saved from the fields
    // and test points (Uložit zadání…), or opened into them (Otevřít zadání…). Points
    // read from a test data file are saved as the file's absolute path; typed points as
    // one line each. A relative test data file of an opened input is looked for beside
    // the input, then in the current directory. A file that cannot be written or read,
    // or a malformed one, fails with a Czech message (run inside guarded).
    void saveInput(const QString& fileName) const;
    // The input as it stands: the fields' texts, the test points' source (the data
    // file's absolute path, or the points typed) and the choice of exact equilibrium.
    InverseInput input() const;
    void openInput(const QString& fileName);

public slots:
    void PageControl1Change();
    void RadioButton1Click();
    void RadioButton2Click();
    void UpDown2Click();
    void Edit20Change(const QString& text);
    void Edit20Confirmed();
    void Button2Click();
    void RadioGroup1Click();
    void Button3Click();
    void SaveInputClick();
    void OpenInputClick();
    // A test series: the file chosen in the file list added to the series' files, the
    // selected ones removed; the series of the files fitted (its results window).
    void addSpecimenClick();
    void removeSpecimenClick();
    void seriesClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildTestPage(QWidget* page);
    void buildDiagramPage(QWidget* page);
    void buildParameterPage(QWidget* page);
    void readTestData(const QString& name);
    void sizeTestPointGrid(int pointCount);
    void placeDiagramButton();
    // The inverse analysis session reads the texts of the fields as they stand: every
    // change of a field is kept there.
    void keepFieldTexts();
    // The series' controls shown with the file choice; its button enabled with files.
    void updateSeriesControls();
    void addSpecimenFile(const QString& path);

    QTabWidget* PageControl1;
    // page 1
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QLabel* countLabel_;
    QLineEdit* Edit1;
    UpDown* UpDown2;
    QLabel* pointsLabel_;
    GridView* StringGrid1;
    QLabel* inputFileLabel_;
    QLabel* fileNameLabel_;
    QLineEdit* Edit20;
    FileListControls* fileControls_;
    QLabel* seriesLabel_;
    QListWidget* seriesList_;
    QPushButton* addSpecimenButton_;
    QPushButton* removeSpecimenButton_;
    // page 2
    GridView* StringGrid2;
    QPushButton* Button2;
    QChartView* Chart1;
    // page 3
    RadioGroup* RadioGroup1;
    QLabel* Label12;
    QLabel* Image2;
    QLabel* Image3;
    QLabel* Image4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QLineEdit* Edit8;
    QLineEdit* Edit9;
    QLineEdit* Edit10;
    QLineEdit* Edit11;
    QLineEdit* Edit12;
    QLineEdit* Edit13;
    QLineEdit* Edit14;
    QLineEdit* Edit15;
    QLineEdit* Edit16;
    QLineEdit* Edit17;
    QLineEdit* Edit18;
    QLineEdit* Edit19;
    UpDown* UpDown1;
    QCheckBox* exactEquilibriumBox;  // "Přesná rovnováha sil", kept by the session
    QPushButton* Button3;
    QPushButton* seriesButton_;
    QPushButton* OpenInputButton;
    QPushButton* SaveInputButton;
};

}  // namespace prurez
