#include "import/comprobacion_claves.h"

#include "platform/comillas.h"
#include "platform/texto.h"

namespace durlavex {

namespace {

std::size_t Indice(Problema p)
{
    return static_cast<std::size_t>(p);
}

bool Contiene(const ClavesTexto& claves, std::string_view clave)
{
    return claves.find(clave) != claves.end();
}

// One text for a subject within its course, so that the same subject key
// of two courses counts as two keys.
std::string ClaveDistinta(Problema problema, std::string_view clave, std::string_view curso)
{
    if (problema != Problema::Materia)
        return std::string(clave);
    return std::string(curso) + '\n' + std::string(clave);
}

} // namespace

ComprobacionClaves::ComprobacionClaves(const ClavesVorna& claves, std::string tareaDocencia)
    : claves_(claves), tareaDocencia_(std::move(tareaDocencia))
{
    informe_.sinClavesDeVorna = claves_.Vacias();
    informe_.tareaDocencia = tareaDocencia_;
}

ComprobacionClaves::Hallazgos ComprobacionClaves::Buscar(const ClavesLeccion& leccion)
{
    ++informe_.lecciones;
    Hallazgos hallazgos;
    if (informe_.sinClavesDeVorna)
        return hallazgos;
    const auto hallar = [&](Problema problema, std::string_view clave, std::string_view curso = {}) {
        hallazgos.lista[hallazgos.cuantos++] = {problema, clave, curso};
    };
    // A result file may carry blanks around a value; Vorna's keys are read
    // without them, and so are the lesson's.
    const std::string_view unidad = Recortar(leccion.X_UNIDAD);
    const std::string_view curso = Recortar(leccion.X_OFERTAMATRIG);
    const std::string_view materia = Recortar(leccion.X_MATERIAOMG);
    const std::string_view tramo = Recortar(leccion.X_TRAMO);
    const std::string_view dependencia = Recortar(leccion.X_DEPENDENCIA);
    const std::string_view actividad = Recortar(leccion.X_ACTIVIDAD);

    if (!unidad.empty() && !Contiene(claves_.unidades, unidad))
        hallar(Problema::Unidad, unidad);
    const bool cursoConocido = !curso.empty() && Contiene(claves_.cursos, curso);
    if (!curso.empty() && !cursoConocido)
        hallar(Problema::Curso, curso);
    // A subject is one of its course's: in an unknown course it cannot be
    // told apart, and the course is the problem already reported.
    if (!materia.empty() && (curso.empty() || cursoConocido) && !claves_.MateriaDelCurso(curso, materia))
        hallar(Problema::Materia, materia, curso);
    if (tramo.empty())
        hallar(Problema::SinTramo, {});
    else if (!Contiene(claves_.tramos, tramo))
        hallar(Problema::Tramo, tramo);
    if (!dependencia.empty() && !Contiene(claves_.dependencias, dependencia))
        hallar(Problema::Dependencia, dependencia);
    if (!actividad.empty() && !Contiene(claves_.actividades, actividad))
        hallar(Problema::Actividad, actividad);
    const bool clase = actividad.empty() || actividad == tareaDocencia_;
    if (clase && unidad.empty())
        hallar(Problema::ClaseSinUnidad, {});
    if (clase && materia.empty())
        hallar(Problema::ClaseSinMateria, {});

    if (hallazgos.cuantos > 0)
        ++informe_.leccionesConProblemas;
    for (std::size_t i = 0; i < hallazgos.cuantos; ++i) {
        const Hallazgo& h = hallazgos.lista[i];
        ++informe_.problemas[Indice(h.problema)].lecciones;
        if (h.clave.empty())
            continue;
        ClavesTexto& distintas = distintas_[Indice(h.problema)];
        std::string distinta = ClaveDistinta(h.problema, h.clave, h.curso);
        if (distintas.find(distinta) == distintas.end())
            distintas.insert(std::move(distinta));
    }
    return hallazgos;
}

bool ComprobacionClaves::QuiereEjemplo(const Hallazgo& hallazgo) const
{
    const std::size_t i = Indice(hallazgo.problema);
    if (informe_.problemas[i].ejemplos.size() >= kEjemplosPorProblema)
        return false;
    return hallazgo.clave.empty() ||
           !Contiene(conEjemplo_[i], ClaveDistinta(hallazgo.problema, hallazgo.clave, hallazgo.curso));
}

void ComprobacionClaves::Anotar(const Hallazgo& hallazgo, const std::string& leccion)
{
    const std::size_t i = Indice(hallazgo.problema);
    std::string clave;
    if (!hallazgo.clave.empty()) {
        conEjemplo_[i].insert(ClaveDistinta(hallazgo.problema, hallazgo.clave, hallazgo.curso));
        clave = Entre(hallazgo.clave);
        if (hallazgo.problema == Problema::Materia)
            clave += hallazgo.curso.empty() ? " sin curso" : " del curso " + Entre(hallazgo.curso);
    }
    informe_.problemas[i].ejemplos.push_back({std::move(clave), leccion});
}

InformeClaves ComprobacionClaves::Informe() const
{
    InformeClaves informe = informe_;
    for (std::size_t i = 0; i < kTiposProblema; ++i)
        informe.problemas[i].clavesDistintas = static_cast<int>(distintas_[i].size());
    return informe;
}

} // namespace durlavex
