#include "pool/PoolServerTable.h"

#include <algorithm>

const std::array<PoolServerEntry, kPoolServerCount> PoolServerTable = {{
    {L"Worldwide", L"pool.ntp.org", L"3832"},
    {L"Asia", L"asia.pool.ntp.org", L"292"},
    {L"Europe", L"europe.pool.ntp.org", L"2697"},
    {L"North America", L"north-america.pool.ntp.org", L"948"},
    {L"Oceania", L"oceania.pool.ntp.org", L"114"},
    {L"South America", L"south-america.pool.ntp.org", L"35"},
    {L"Canada", L"ca.pool.ntp.org", L"82"},
    {L"United States", L"us.pool.ntp.org", L"856"},
    {L"Germany", L"de.pool.ntp.org", L"698"},
    {L"United Kingdom", L"uk.pool.ntp.org", L"279"},
    {L"France", L"fr.pool.ntp.org", L"299"},
    {L"Netherlands", L"nl.pool.ntp.org", L"226"},
    {L"Russian Federation", L"ru.pool.ntp.org", L"134"},
    {L"Switzerland", L"ch.pool.ntp.org", L"116"},
    {L"Ukraine", L"ua.pool.ntp.org", L"93"},
    {L"Australia", L"au.pool.ntp.org", L"90"},
    {L"Austria", L"at.pool.ntp.org", L"77"},
    {L"Hungary", L"hu.pool.ntp.org", L"73"},
    {L"Czech Republic", L"cz.pool.ntp.org", L"55"},
    {L"Denmark", L"dk.pool.ntp.org", L"51"},
    {L"Poland", L"pl.pool.ntp.org", L"51"},
    {L"Finland", L"fi.pool.ntp.org", L"50"},
    {L"Belgium", L"be.pool.ntp.org", L"48"},
    {L"Bulgaria", L"bg.pool.ntp.org", L"42"},
    {L"Romania", L"ro.pool.ntp.org", L"40"},
    {L"Norway", L"no.pool.ntp.org", L"40"},
    {L"Italy", L"it.pool.ntp.org", L"39"},
    {L"Slovenia", L"si.pool.ntp.org", L"31"},
    {L"Sweden", L"se.pool.ntp.org", L"27"},
    {L"Slovakia", L"sk.pool.ntp.org", L"26"},
    {L"Luxembourg", L"lu.pool.ntp.org", L"25"},
    {L"Ireland", L"ie.pool.ntp.org", L"22"},
    {L"Brazil", L"br.pool.ntp.org", L"22"},
    {L"Spain", L"es.pool.ntp.org", L"22"},
    {L"Republic of Serbia", L"rs.pool.ntp.org", L"20"},
    {L"Estonia", L"ee.pool.ntp.org", L"16"},
    {L"Moldova", L"md.pool.ntp.org", L"15"},
    {L"New Zealand", L"nz.pool.ntp.org", L"15"},
    {L"Portugal", L"pt.pool.ntp.org", L"13"},
    {L"Greece", L"gr.pool.ntp.org", L"13"},
    {L"Latvia", L"lv.pool.ntp.org", L"12"},
    {L"Argentina", L"ar.pool.ntp.org", L"11"},
    {L"Iceland", L"is.pool.ntp.org", L"11"},
    {L"Mexico", L"mx.pool.ntp.org", L"9"},
    {L"Azerbaijan", L"az.pool.ntp.org", L"8"},
    {L"Costa Rica", L"cr.pool.ntp.org", L"8"},
    {L"Liechtenstein", L"li.pool.ntp.org", L"8"},
    {L"Lithuania", L"lt.pool.ntp.org", L"8"},
    {L"Belarus", L"by.pool.ntp.org", L"6"},
    {L"New Caledonia", L"nc.pool.ntp.org", L"5"},
    {L"Macedonia", L"mk.pool.ntp.org", L"4"},
    {L"Chile", L"cl.pool.ntp.org", L"4"},
    {L"Guam", L"gu.pool.ntp.org", L"4"},
    {L"Armenia", L"am.pool.ntp.org", L"2"},
    {L"Croatia", L"hr.pool.ntp.org", L"2"},
    {L"Bosnia and Herzegovina", L"ba.pool.ntp.org", L"1"},
    {L"Gibraltar", L"gi.pool.ntp.org", L"1"},
    {L"Panama", L"pa.pool.ntp.org", L"1"},
    {L"Uruguay", L"uy.pool.ntp.org", L"1"},
    {L"Vanuatu", L"vu.pool.ntp.org", L"1"},
}};

std::wstring FindPoolRegion(std::wstring_view host)
{
    const auto entry = std::find_if(PoolServerTable.begin(), PoolServerTable.end(),
                                    [host](const PoolServerEntry& e) { return e.server == host; });
    return std::wstring(entry != PoolServerTable.end() ? entry->country : L"Unspecified");
}

std::wstring DefaultPoolServer()
{
    const auto canada = std::find_if(PoolServerTable.begin(), PoolServerTable.end(),
                                     [](const PoolServerEntry& e) { return e.country == L"Canada"; });
    return std::wstring(canada->server);
}
