target_sources(daystride_lib PRIVATE
    model/Countdown.cpp model/Countdown.h
    model/LocalDateTime.cpp model/LocalDateTime.h
    model/QuoteList.cpp model/QuoteList.h
    model/TimerViewModel.cpp model/TimerViewModel.h
    model/Todo.cpp model/Todo.h
    model/Whitespace.cpp model/Whitespace.h
)
