// A language library that lacks BIG5toGB: the translator must refuse it.
#include "suite/libs/Vellanguage/vellanguage_abi.h"

extern "C" __attribute__((visibility("default"))) int GBtoBIG5(const VelText* source, VelText* result) {
    *result = VelText{source->data, source->length, nullptr};
    return 1;
}
