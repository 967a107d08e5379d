#include "mainwnd/LogonTask.h"

#include <gtest/gtest.h>

TEST(LogonTask, DefinitionStartsTheProgramElevatedAtTheUsersLogon)
{
    const std::wstring xml = LogonTask::Definition(L"PC\\A&B", L"C:\\Program Files\\<K>\\Kavrin.exe");
    const std::wstring parts[] = {
        L"<Triggers><LogonTrigger><Enabled>true</Enabled><UserId>PC\\A&amp;B</UserId></LogonTrigger></Triggers>",
        L"<UserId>PC\\A&amp;B</UserId><LogonType>InteractiveToken</LogonType><RunLevel>HighestAvailable</RunLevel>",
        L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>",
        L"<Exec><Command>C:\\Program Files\\&lt;K&gt;\\Kavrin.exe</Command></Exec>",
    };
    for (const std::wstring& part : parts)
        EXPECT_NE(xml.find(part), std::wstring::npos) << testing::PrintToString(part);
    EXPECT_EQ(xml.find(L"<Arguments>"), std::wstring::npos);
    EXPECT_EQ(LogonTask::EscapeXml(L"'\"<>&x"), L"&apos;&quot;&lt;&gt;&amp;x");
}
