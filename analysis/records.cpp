#include "records.h"

Text TwoCharacterSymbol(TextView symbol) {
    Text two(symbol.substr(0, 2));
    two.resize(2, kBlank);
    return two;
}
