#include "settings/GlobalData.h"

GlobalData GlobalData::defaults()
{
    GlobalData data;
    data.applyDefaultsRule();
    return data;
}

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

bool GlobalData::operator==(const GlobalData &o) const
{
    return LoadLastBook == o.LoadLastBook && JumpToLastPage == o.JumpToLastPage
        && LastBook == o.LastBook && LastPage == o.LastPage && LinesPerPage == o.LinesPerPage
        && BackColor == o.BackColor && ForeColor == o.ForeColor && FavoritePath == o.FavoritePath
        && FavoriteDrive == o.FavoriteDrive && FavoriteSet == o.FavoriteSet
        && FontSize == o.FontSize && FontName == o.FontName && FontBold == o.FontBold
        && FontItalic == o.FontItalic;
}

GlobalData &TheGlobalData()
{
    static GlobalData data;
    return data;
}
