#include "screens/Program.h"

Program& program() {
    static Program instance;
    return instance;
}
