target_sources(daystride_lib PRIVATE
    ui/Accessibility.cpp ui/Accessibility.h
    ui/Appearance.cpp ui/Appearance.h
    ui/DateTimeFormats.cpp ui/DateTimeFormats.h
    ui/IdleNotice.cpp ui/IdleNotice.h
    ui/Look.cpp ui/Look.h
    ui/PaletteFollower.cpp ui/PaletteFollower.h
    ui/ReturnKey.cpp ui/ReturnKey.h
    ui/RoundedBox.cpp ui/RoundedBox.h
    ui/SingleLineText.cpp ui/SingleLineText.h
    ui/Stepper.cpp ui/Stepper.h
    ui/StorageNotice.cpp ui/StorageNotice.h
    ui/Switch.cpp ui/Switch.h
    ui/SymbolIcon.cpp ui/SymbolIcon.h
    ui/TabularNumber.cpp ui/TabularNumber.h
    ui/Units.cpp ui/Units.h
    ui/WindowHeader.cpp ui/WindowHeader.h
)
