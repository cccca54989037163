#pragma once

#include "ui/SymbolIcon.h"

#include <QWidget>

class QLabel;
class TimerViewModel;

// One page of the welcome guide. Pages write straight into the model and show its
// values again on refresh(), which the guide calls after each burst of changes.
class GuidePage : public QWidget
{
    Q_OBJECT

public:
    GuidePage(TimerViewModel &viewModel, QWidget *parent);

    virtual void refresh() { }
    // Whether the primary button may move on from this page.
    virtual bool canContinue() const { return true; }

protected:
    // The symbol, the title and the explanation on top of most pages.
    QWidget *header(const QString &symbol, const QString &title, const QString &explanation);
    // A row of a rounded group: symbol, label and the control at the trailing edge.
    QWidget *optionRow(
        const QString &symbol, const QString &text, QWidget *control, QWidget *parent) const;
    static QLabel *wrappingLabel(const QString &text, QWidget *parent);
    // A symbol tinted from the palette, again whenever the palette changes.
    static QLabel *symbolLabel(
        const QString &name, int size, SymbolIcon::Tint tint, QWidget *parent);
    void changeEvent(QEvent *event) override;

    TimerViewModel &m_viewModel;
};
