// Messages of the accessibility bus written argument by argument.
#pragma once

#include <string>

#include <dbus/dbus.h>

// The arguments of one message, written in order; containers are opened and closed around
// what they hold.
struct AtspiWriter {
    explicit AtspiWriter(DBusMessage* message);
    AtspiWriter& open(int type, const char* signature = nullptr);
    AtspiWriter& close();
    AtspiWriter& basic(int type, const void* value);
    // The bus takes only UTF-8 (it ends a program that sends anything else): other bytes are
    // sent as question marks.
    AtspiWriter& str(std::string text, int type = DBUS_TYPE_STRING);
    AtspiWriter& i32(int value);
    AtspiWriter& u32(unsigned value);
    AtspiWriter& boolean(bool value);
    // An object: its connection's name and its path.
    AtspiWriter& ref(const std::string& bus, const std::string& path);

    DBusMessageIter at[8];
    int depth = 0;
};
