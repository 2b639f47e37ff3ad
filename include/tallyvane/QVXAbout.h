// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
// The hover label's design-time About property: its editor and the dialog it opens.
#include <QDialog>
#include <QFlags>
#include <QString>

#include "tallyvane_controls_export.h"

namespace Ui {
class TfrmQVXAbout;
}
class QFrame;
class QLabel;
class QPushButton;

// What a form designer may do with a property.
enum TPropertyAttribute : unsigned {
  paValueList = 0x01,
  paSubProperties = 0x02,
  paDialog = 0x04,      // an ellipsis button calls Edit
  paMultiSelect = 0x08, // offered for a multiple selection
  paAutoUpdate = 0x10,
  paSortList = 0x20,
  paReadOnly = 0x40,    // the value cannot be typed
};
Q_DECLARE_FLAGS(TPropertyAttributes, TPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPropertyAttributes)

// The base of a designer's property editors.
class TALLYVANE_CONTROLS_EXPORT TPropertyEditor {
 public:
  virtual ~TPropertyEditor() = default;
  virtual void Edit() {}
  virtual TPropertyAttributes GetAttributes() const { return {}; }
  virtual QString GetValue() const { return {}; }
};

class TALLYVANE_CONTROLS_EXPORT TAboutProperty : public TPropertyEditor {
 public:
  // Shows the about dialog modally and frees it afterwards.
  void Edit() override;
  TPropertyAttributes GetAttributes() const override;
  QString GetValue() const override;
};

class TALLYVANE_CONTROLS_EXPORT TfrmQVXAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmQVXAbout(QWidget* parent = nullptr);
  ~TfrmQVXAbout() override;

  QLabel* imgLogo;
  QLabel* lblVersion;
  QLabel* lblAuthor;
  QLabel* lblCopyright;
  QPushButton* cmdOK;
  QFrame* bvlSepBar;
  QLabel* lblComponent;

 public slots:
  void cmdOKClick();

 private:
  Ui::TfrmQVXAbout* ui;
};

// Fills in the dialog's texts and centres the labels (see the form for the layout).
void SetAboutInfo(TfrmQVXAbout* form, const QString& componentName, const QString& version,
                  const QString& copyright, const QString& author);

// The maker's details shown by the About property.
extern const char* const QVXFlashLabelVersion;
extern const char* const QVXMakerName;
extern const char* const QVXMakerCopyright;
