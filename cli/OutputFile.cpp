#include "cli/OutputFile.h"

#include <memory>

#include "base/DiskFile.h"
#include "base/SafeFileWriter.h"

OutputFile::OutputFile()
{
}

OutputFile::~OutputFile()
{
}

bool OutputFile::Fail(const std::string& reason)
{
    m_reason = reason;
    return false;
}

DiskFile* OutputFile::CreateDiskFile()
{
    return new DiskFile;
}

bool OutputFile::Write(const std::string& path, const char* data, size_t size)
{
    m_reason.clear();
    if (path.empty())
        return Fail("no file name");
    std::unique_ptr<DiskFile> file(CreateDiskFile());
    SafeFileWriter writer;
    unsigned long code = writer.Write(*file, path.c_str(), data, size);
    return code == 0 ? true : Fail(Describe(*file, code));
}

std::string OutputFile::Describe(const DiskFile& file, unsigned long code) const
{
    if (code == SafeFileWriter::kErrorFileExists)
        return "no free name for a temporary file next to it";
    return file.DescribeError(code);
}

const std::string& OutputFile::GetReason() const
{
    return m_reason;
}
