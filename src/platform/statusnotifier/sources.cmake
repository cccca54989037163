# The panel item's desktop protocols: the StatusNotifierItem and its
# com.canonical.dbusmenu menu on the session bus.
target_sources(daystride_lib PRIVATE
    platform/statusnotifier/DBusMenuExporter.cpp platform/statusnotifier/DBusMenuExporter.h
    platform/statusnotifier/StatusNotifierItem.cpp platform/statusnotifier/StatusNotifierItem.h
    platform/statusnotifier/StatusNotifierItemAdaptor.cpp platform/statusnotifier/StatusNotifierItemAdaptor.h
    platform/statusnotifier/StatusNotifierItemState.h
    platform/statusnotifier/StatusNotifierTypes.cpp platform/statusnotifier/StatusNotifierTypes.h
)
