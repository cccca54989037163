#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class SettingsView;
class TimerViewModel;

// The application's Settings window, at most one at a time. Its content is built
// afresh each time it opens and is deleted when the window closes.
class SettingsWindow : public QObject
{
    Q_OBJECT

public:
    explicit SettingsWindow(TimerViewModel &viewModel, QObject *parent = nullptr);
    ~SettingsWindow() override;

    // What the form's "Show Welcome Guide" button does.
    void setShowWelcomeGuide(std::function<void()> action);

    // Opens the window, or raises and activates the one already open.
    void open();
    void close();
    // The open window, or none.
    SettingsView *view() const;

private:
    TimerViewModel &m_viewModel;
    std::function<void()> m_showWelcomeGuide;
    QPointer<SettingsView> m_view;
};
