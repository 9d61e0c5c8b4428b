#include "platform/workbook.h"

#include "common/regional.h"
#include "platform/paths.h"
#include "platform/workbook_internal.h"
#include "platform/workbook_xml.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

namespace kuvela {

using detail::Book;

QDate CellValue::date() const
{
    return kind == Kind::Date ? detail::serialToDate(number, false) : QDate();
}

QString CellValue::toText() const
{
    switch (kind) {
    case Kind::Empty:
        return {};
    case Kind::Number:
        return plainNumberText(number);
    case Kind::Text:
    case Kind::Error:
        return text;
    case Kind::Bool:
        return boolean ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Date: {
        const QDate d = date();
        if (!d.isValid())
            return plainNumberText(number);
        // As VB shows a Date: the day, the time of day, or both.
        const double fraction = number - std::floor(number);
        const long long ms = std::llround(fraction * 86400000.0);
        const QString time = QTime::fromMSecsSinceStartOfDay(int(ms % 86400000)).toString(QStringLiteral("HH:mm:ss"));
        if (ms == 0 || ms >= 86400000)
            return shortDate(d);
        return number < 1 ? time : shortDate(d) + QLatin1Char(' ') + time;
    }
    }
    return {};
}

WorkbookError::WorkbookError(int code, const QString& message)
    : std::runtime_error(message.toStdString()), code_(code), message_(message)
{
}

namespace detail {

QString Book::label() const
{
    return path.empty() ? QStringLiteral("Kitap1") : fromPath(path.filename());
}

void Book::fail(int code, const QString& what) const
{
    throw WorkbookError(code, what);
}

void Book::failUnreadable(const std::string& what) const
{
    fail(WorkbookError::kTypeMismatch,
         QStringLiteral("%1 dosyası okunamadı: içeriği bozuk (%2).").arg(label(), QString::fromStdString(what)));
}

void Book::failFromCurrent() const
{
    try {
        throw;
    } catch (const WorkbookError&) {
        throw;
    } catch (const LimitFailure& e) {
        fail(WorkbookError::kOutOfMemory,
             QStringLiteral("%1 dosyası okunamadı: %2.").arg(label(), QString::fromStdString(e.what())));
    } catch (const XmlFailure& e) {
        failUnreadable(e.what());
    } catch (const ZipFailure& e) {
        failUnreadable(e.what());
    } catch (const std::bad_alloc&) {
        fail(WorkbookError::kOutOfMemory, QStringLiteral("%1 dosyası okunamadı: bellek yetmedi.").arg(label()));
    } catch (...) {
        fail(WorkbookError::kTypeMismatch,
             QStringLiteral("%1 dosyası okunamadı: beklenmeyen bir hata oluştu.").arg(label()));
    }
}

void Book::parseKept(pugi::xml_document& doc, const std::string& part)
{
    Charge text(budget.get(), part);
    const Inflated xml = zip->read(part, &text);
    Charge tree(budget.get(), part);
    parsePart(doc, xml.view(), part, &tree);
    tree.keep();
}

Sheet& Book::wrap(std::unique_ptr<SheetModel> m)
{
    sheets.push_back(std::unique_ptr<Sheet>(new Sheet(*this, std::move(m))));
    return *sheets.back();
}

} // namespace detail

namespace {

std::unique_ptr<Book> bookFrom(std::string bytes, const std::filesystem::path& path, const detail::WorkbookLimits& limits)
{
    auto book = std::make_unique<Book>();
    book->path = path;
    book->budget = std::make_shared<detail::Budget>(limits);
    try {
        book->budget->charge(bytes.size(), fromPath(path.filename()).toStdString());
        book->zip = std::make_unique<detail::ZipReader>(std::move(bytes));
    } catch (const detail::ZipFailure&) {
        book->fail(WorkbookError::kTypeMismatch,
                   QStringLiteral("%1 dosyası açılamadı: geçerli bir Excel çalışma kitabı değil.").arg(book->label()));
    } catch (...) {
        book->failFromCurrent();
    }
    book->readPackage();
    return book;
}

} // namespace

Workbook::Workbook(std::unique_ptr<detail::Book> book) : book_(std::move(book)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const std::filesystem::path& file)
{
    const QString name = fromPath(file.filename());
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw WorkbookError(WorkbookError::kFileNotFound,
                            QStringLiteral("%1 dosyası bulunamadı (%2).").arg(name, fromPath(file)));
    if (std::filesystem::is_directory(file, ec))
        throw WorkbookError(WorkbookError::kAccess, QStringLiteral("%1 bir dosya değil, klasör.").arg(name));
    // The package stays in memory while the workbook is open: it counts against the
    // workbook's memory limit, and a file past it is not read at all.
    const detail::WorkbookLimits limits = detail::WorkbookLimits::fromSettings();
    std::ifstream in(file, std::ios::binary);
    std::string bytes;
    try {
        if (in) {
            in.seekg(0, std::ios::end);
            const std::streamoff size = in.tellg();
            in.seekg(0, std::ios::beg);
            if (size >= 0 && size_t(size) > limits.memoryBytes)
                throw WorkbookError(WorkbookError::kOutOfMemory,
                                    QStringLiteral("%1 dosyası okunamadı: dosya, çalışma kitabının bellek sınırından (%2) büyük.")
                                        .arg(name, QString::fromStdString(detail::mebibytes(limits.memoryBytes))));
            if (size >= 0) {
                bytes.resize(size_t(size));
                in.read(bytes.data(), size);
            }
        }
    } catch (const std::bad_alloc&) {
        throw WorkbookError(WorkbookError::kOutOfMemory, QStringLiteral("%1 dosyası okunamadı: bellek yetmedi.").arg(name));
    }
    if (!in)
        throw WorkbookError(WorkbookError::kAccess, QStringLiteral("%1 dosyasına erişilemedi.").arg(name));
    return Workbook(bookFrom(std::move(bytes), file, limits));
}

Workbook Workbook::create(const QString& firstSheetName)
{
    return Workbook(bookFrom(detail::newPackageBytes(firstSheetName), {}, detail::WorkbookLimits::fromSettings()));
}

QStringList Workbook::sheetNames() const
{
    QStringList names;
    for (const auto& s : book_->sheets)
        names << s->name();
    return names;
}

Sheet& Workbook::sheet(const QString& name)
{
    Sheet* found = nullptr;
    for (const auto& s : book_->sheets)
        if (s->name() == name) {
            found = s.get();
            break;
        }
    if (!found)
        for (const auto& s : book_->sheets)
            if (s->name().compare(name, Qt::CaseInsensitive) == 0) {
                found = s.get();
                break;
            }
    if (!found)
        book_->fail(WorkbookError::kSubscript,
                    QStringLiteral("%1 çalışma kitabında \"%2\" adlı sayfa yok.").arg(book_->label(), name));
    book_->loadSheet(Book::modelOf(*found));
    return *found;
}

Sheet& Workbook::sheet(int position1)
{
    if (position1 < 1 || position1 > int(book_->sheets.size()))
        book_->fail(WorkbookError::kSubscript,
                    QStringLiteral("%1 çalışma kitabında %2. sayfa yok.").arg(book_->label()).arg(position1));
    Sheet& s = *book_->sheets[size_t(position1 - 1)];
    book_->loadSheet(Book::modelOf(s));
    return s;
}

Sheet& Workbook::addSheet(const QString& name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    bool bad = name.trimmed().isEmpty() || name.size() > 31 || name.startsWith(QLatin1Char('\''))
               || name.endsWith(QLatin1Char('\''));
    for (const QChar ch : name)
        bad = bad || forbidden.contains(ch);
    if (bad)
        book_->fail(WorkbookError::kAppDefined, QStringLiteral("\"%1\" geçerli bir sayfa adı değil.").arg(name));
    for (const auto& s : book_->sheets)
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            book_->fail(WorkbookError::kAppDefined,
                        QStringLiteral("%1 çalışma kitabında \"%2\" adlı bir sayfa zaten var.").arg(book_->label(), name));
    return book_->newSheet(name);
}

namespace {
const char* localName(const char* name)
{
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

pugi::xml_node childNamed(pugi::xml_node parent, const char* local)
{
    for (pugi::xml_node c : parent.children())
        if (std::strcmp(localName(c.name()), local) == 0)
            return c;
    return {};
}
} // namespace

Sheet& Workbook::insertSheetBeforeActive(const QString& name)
{
    pugi::xml_node root = book_->workbookXml.document_element();
    pugi::xml_node views = childNamed(root, "bookViews");
    pugi::xml_node view = childNamed(views, "workbookView");
    const size_t before = book_->sheets.size();
    const size_t active = before == 0 ? 0 : std::min<size_t>(view.attribute("activeTab").as_uint(0), before - 1);
    Sheet& added = addSheet(name);
    if (before == 0)
        return added;

    pugi::xml_node sheetsNode = childNamed(root, "sheets");
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node s : sheetsNode.children())
        if (std::strcmp(localName(s.name()), "sheet") == 0)
            nodes.push_back(s);
    if (nodes.size() == book_->sheets.size() && active < nodes.size() - 1)
        sheetsNode.insert_move_before(nodes.back(), nodes[active]);
    std::rotate(book_->sheets.begin() + std::ptrdiff_t(active), book_->sheets.end() - 1, book_->sheets.end());

    if (!views) {
        views = root.insert_child_before("bookViews", sheetsNode);
        view = views.append_child("workbookView");
    }
    if (!view.attribute("activeTab"))
        view.append_attribute("activeTab");
    view.attribute("activeTab") = unsigned(active);
    book_->packageChanged = true;
    return added;
}

void Workbook::save()
{
    if (book_->path.empty())
        book_->fail(WorkbookError::kInvalidCall,
                    QStringLiteral("%1 henüz bir dosyaya kaydedilmedi; önce bir dosya adı verilmeli.").arg(book_->label()));
    saveAs(book_->path);
}

void Workbook::saveAs(const std::filesystem::path& file)
{
    try {
        book_->save(file);
    } catch (const WorkbookError&) {
        throw;
    } catch (const std::bad_alloc&) {
        book_->fail(WorkbookError::kOutOfMemory,
                    QStringLiteral("%1 kaydedilemedi: bellek yetmedi.").arg(fromPath(file.filename())));
    } catch (...) {
        // Sheets read on demand while saving report their own failures.
        book_->failFromCurrent();
    }
}

std::filesystem::path Workbook::path() const
{
    return book_->path;
}

bool isOpenInSpreadsheet(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.parent_path();
    const QString name = fromPath(file.filename());
    std::error_code ec;
    auto present = [&](const QString& lockName) { return std::filesystem::exists(folder / toPath(lockName), ec); };
    if (present(QStringLiteral("~$") + name) || present(QStringLiteral(".~lock.") + name + QLatin1Char('#')))
        return true;
    // Excel shortens a long name's owner file by its first two letters.
    const QString base = fromPath(file.stem());
    return base.size() >= 8 && present(QStringLiteral("~$") + name.mid(2));
}

} // namespace kuvela
