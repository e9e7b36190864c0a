#include "AnalysisWindows.h"

#include "AnalysisPage.h"
#include "uMain.h"

#include <cstring>

AnalysisPage *frmCustLevelAnalyse = nullptr, *frmCustOriginAnalyse = nullptr, *frmCustStateAnalyse = nullptr,
             *frmCustVocationAnalyse = nullptr, *frmTimeAnalyse = nullptr, *frmOperateOriginAnalyse = nullptr,
             *frmOperateStyleAnalyse = nullptr, *frmOperateSortAnalyse = nullptr, *frmCustomerSortAnalyse = nullptr,
             *frmOperaterSortAnalyse = nullptr, *frmFinanceAnalyse = nullptr;

namespace {

struct Instance
{
    const char *objectName;
    AnalysisPage **page;
};

const Instance Instances[] = {
    {"frmCustLevelAnalyse", &frmCustLevelAnalyse},       {"frmCustOriginAnalyse", &frmCustOriginAnalyse},
    {"frmCustStateAnalyse", &frmCustStateAnalyse},       {"frmCustVocationAnalyse", &frmCustVocationAnalyse},
    {"frmTimeAnalyse", &frmTimeAnalyse},                 {"frmOperateOriginAnalyse", &frmOperateOriginAnalyse},
    {"frmOperateStyleAnalyse", &frmOperateStyleAnalyse}, {"frmOperateSortAnalyse", &frmOperateSortAnalyse},
    {"frmCustomerSortAnalyse", &frmCustomerSortAnalyse}, {"frmOperaterSortAnalyse", &frmOperaterSortAnalyse},
    {"frmFinanceAnalyse", &frmFinanceAnalyse},
};

}  // namespace

AnalysisPage *analysisPage(const char *objectName)
{
    for (const Instance &i : Instances)
        if (std::strcmp(i.objectName, objectName) == 0)
            return *i.page;
    return nullptr;
}

void forgetAnalysisPage(AnalysisPage *page)
{
    for (const Instance &i : Instances)
        if (*i.page == page)
            *i.page = nullptr;
}

void installChartWindows(TfrmMain &main)
{
    for (const AnalysisMember &member : analysisMembers()) {
        auto *page = new AnalysisPage(member, &main);
        for (const Instance &i : Instances)
            if (std::strcmp(i.objectName, member.objectName) == 0)
                *i.page = page;
        const QString action = QString::fromLatin1(member.action);
        main.registerPage(action, page);
        main.registerCommand(action, [page] { page->open(); });
    }
}
