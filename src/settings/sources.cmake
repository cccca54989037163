target_sources(daystride_lib PRIVATE
    settings/QuoteRow.cpp settings/QuoteRow.h
    settings/SettingsGroup.cpp settings/SettingsGroup.h
    settings/SettingsView.cpp settings/SettingsView.h
    settings/SettingsWindow.cpp settings/SettingsWindow.h
    settings/TaskRow.cpp settings/TaskRow.h
)
