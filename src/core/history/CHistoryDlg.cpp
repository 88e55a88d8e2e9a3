#include "history/CHistoryDlg.h"

#include <algorithm>

CHistoryDlg::CHistoryDlg(std::vector<VersionChange> versions, Loader load, std::string selectedPath)
    : m_versions(std::move(versions))
    , m_load(std::move(load))
    , m_strSelectedPath(std::move(selectedPath))
{
    if (!m_versions.empty())
        SelectVersion(0);
}

void CHistoryDlg::SelectVersion(size_t index)
{
    if (index >= m_versions.size())
        return;
    m_nVersion = index;
    m_version = m_load(m_versions[index].version.id);
    m_paths = m_version ? RecordPaths(*m_version) : std::vector<std::string>();
    m_nFolder.reset();
    if (m_paths.empty())
        return;
    const auto found = std::find(m_paths.begin(), m_paths.end(), m_strSelectedPath);
    m_nFolder = found == m_paths.end() ? 0 : size_t(found - m_paths.begin());
}

void CHistoryDlg::SelectFolder(size_t index)
{
    if (index < m_paths.size())
        m_nFolder = index;
}

std::string_view CHistoryDlg::FolderText() const
{
    return m_nFolder ? m_version->records[*m_nFolder].text.View() : std::string_view();
}

TextEncoding::Kind CHistoryDlg::Encoding() const
{
    return m_version ? m_version->encoding : TextEncoding::Kind::Utf8;
}

std::string CHistoryDlg::RestoreText() const
{
    return m_nFolder ? FolderFileOf(*m_version, *m_nFolder) : std::string();
}

std::string CHistoryDlg::RestorePath() const
{
    return m_nFolder ? m_paths[*m_nFolder] : std::string();
}
