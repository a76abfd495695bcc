#include "settings/GlobalData.h"

void GlobalData::applyDefaultsRule()
{
    if (LinesPerPage != 0)
        return;
    LinesPerPage = 15;
    BackColor = VariantValue::fromLong(0xFFFFFF);
    ForeColor = VariantValue::fromLong(0);
    FavoriteSet = VFalse;
    FontSize = 12;
}

GlobalData &TheGlobalData()
{
    static GlobalData data;
    return data;
}
