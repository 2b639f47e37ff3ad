// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#pragma once
/// \file
/// The hover label's design-time About property: its editor and the dialog it opens.
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

/// What a form designer may do with a property.
enum TPropertyAttribute : unsigned {
  paValueList = 0x01,      ///< the editor offers a list of values
  paSubProperties = 0x02,  ///< the property has properties of its own
  paDialog = 0x04,         ///< an ellipsis button calls Edit
  paMultiSelect = 0x08,    ///< offered for a multiple selection
  paAutoUpdate = 0x10,     ///< a typed value takes effect at once
  paSortList = 0x20,       ///< the list of values is sorted
  paReadOnly = 0x40,       ///< the value cannot be typed
};
/// A set of TPropertyAttribute flags.
Q_DECLARE_FLAGS(TPropertyAttributes, TPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPropertyAttributes)

/// The base of a designer's property editors.
class TALLYVANE_CONTROLS_EXPORT TPropertyEditor {
 public:
  virtual ~TPropertyEditor() = default;
  /// Edits the value (the paDialog button); does nothing here.
  virtual void Edit() {}
  /// What the designer may do with the property; nothing here.
  virtual TPropertyAttributes GetAttributes() const { return {}; }
  /// The value as the designer shows it; empty here.
  virtual QString GetValue() const { return {}; }
};

/// The editor of TQVXFlashLabel's About property: "(about)", a button that shows the about box.
class TALLYVANE_CONTROLS_EXPORT TAboutProperty : public TPropertyEditor {
 public:
  /// Shows the about dialog modally and frees it afterwards.
  void Edit() override;
  /// paDialog, paMultiSelect and paReadOnly.
  TPropertyAttributes GetAttributes() const override;
  /// "(about)".
  QString GetValue() const override;
};

/// The about dialog of the hover label: its name, version, author and copyright.
class TALLYVANE_CONTROLS_EXPORT TfrmQVXAbout : public QDialog {
  Q_OBJECT

 public:
  /// The dialog from its form, fixed in size and centred on the screen; SetAboutInfo fills it in.
  explicit TfrmQVXAbout(QWidget* parent = nullptr);
  ~TfrmQVXAbout() override;

  QLabel* imgLogo;       ///< the logo picture
  QLabel* lblVersion;    ///< "v" and the version
  QLabel* lblAuthor;     ///< "by " and the author
  QLabel* lblCopyright;  ///< the copyright line
  QPushButton* cmdOK;    ///< OK: closes the dialog
  QFrame* bvlSepBar;     ///< the separator the labels are centred over
  QLabel* lblComponent;  ///< the component's name

 public slots:
  /// Closes the dialog (the OK button).
  void cmdOKClick();

 private:
  Ui::TfrmQVXAbout* ui;
};

/// Fills in the dialog's texts and centres the labels (see the form for the layout).
void SetAboutInfo(TfrmQVXAbout* form, const QString& componentName, const QString& version, const QString& copyright,
                  const QString& author);

// The maker's details shown by the About property.
extern const char* const QVXFlashLabelVersion;  ///< the hover label's version, shown by the About property
extern const char* const QVXMakerName;          ///< its maker's name (the author)
extern const char* const QVXMakerCopyright;     ///< its copyright line (UTF-8)
