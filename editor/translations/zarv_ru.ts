<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>QCustomAction</name>
    <message>
        <source>Save &amp;Incremental</source>
        <translation>Сохранить с &amp;номером</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Disabl&amp;e Undo/Redo</source>
        <translation>&amp;Выключить отмену</translation>
    </message>
    <message>
        <source>Toggle Undo/Redo (off conserves memory)</source>
        <translation>Включить или выключить отмену (выключенная бережёт память)</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Вы&amp;резать</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>Past&amp;e</source>
        <translation>Вст&amp;авить</translation>
    </message>
    <message>
        <source>Pa&amp;ste Special...</source>
        <translation>Специальная в&amp;ставка...</translation>
    </message>
    <message>
        <source>Toggle Select-by-&amp;Handles</source>
        <translation>Выбор за &amp;маркеры</translation>
    </message>
    <message>
        <source>Toggle &amp;2D auto-selection by selection frame</source>
        <translation>Авто&amp;выбор рамкой в 2D</translation>
    </message>
    <message>
        <source>Toggle &amp;3D auto-selection by mouse dragging</source>
        <translation>Автовыбор &amp;перетаскиванием в 3D</translation>
    </message>
    <message>
        <source>Create &amp;Object</source>
        <translation>Создать &amp;объект</translation>
    </message>
    <message>
        <source>&amp;Snap to Grid</source>
        <translation>&amp;Привязка к сетке</translation>
    </message>
    <message>
        <source>Show &amp;Grid</source>
        <translation>Показать &amp;сетку</translation>
    </message>
    <message>
        <source>Show 3&amp;D Grid</source>
        <translation>Показать 3&amp;D-сетку</translation>
    </message>
    <message>
        <source>Load Hull file...</source>
        <translation>Загрузить файл оболочки...</translation>
    </message>
    <message>
        <source>Unload Hull file</source>
        <translation>Выгрузить файл оболочки</translation>
    </message>
    <message>
        <source>Screen &amp;Elements</source>
        <translation>&amp;Элементы экрана</translation>
    </message>
    <message>
        <source>&amp;Color Schemes</source>
        <translation>&amp;Цветовые схемы</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Язык</translation>
    </message>
    <message>
        <source>2D &amp;X/Y</source>
        <translation>2D &amp;X/Y</translation>
    </message>
    <message>
        <source>2D &amp;Y/Z</source>
        <translation>2D &amp;Y/Z</translation>
    </message>
    <message>
        <source>2D X/&amp;Z</source>
        <translation>2D X/&amp;Z</translation>
    </message>
    <message>
        <source>3D &amp;Wireframe</source>
        <translation>3D &amp;каркас</translation>
    </message>
    <message>
        <source>3D &amp;Filled Polygons</source>
        <translation>3D &amp;заливка</translation>
    </message>
    <message>
        <source>3D &amp;Textured Polygons</source>
        <translation>3D &amp;текстуры</translation>
    </message>
    <message>
        <source>3D &amp;Shaded Textured Polygons</source>
        <translation>3D текстуры с &amp;тенями</translation>
    </message>
    <message>
        <source>&amp;Special Textures</source>
        <translation>&amp;Особые текстуры</translation>
    </message>
    <message>
        <source>&amp;Entities</source>
        <translation>&amp;Сущности</translation>
    </message>
    <message>
        <source>Show C&amp;onnections</source>
        <translation>Показать &amp;связи</translation>
    </message>
    <message>
        <source>Show &amp;Models in 2D</source>
        <translation>Показать &amp;модели в 2D</translation>
    </message>
    <message>
        <source>Show S&amp;ky</source>
        <translation>Показать &amp;небо</translation>
    </message>
    <message>
        <source>Show Texture &amp;Animations</source>
        <translation>Показать &amp;анимацию текстур</translation>
    </message>
    <message>
        <source>Show &amp;Nodraw Faces</source>
        <translation>Показать грани &amp;nodraw</translation>
    </message>
    <message>
        <source>Show &amp;Hint Faces</source>
        <translation>Показать грани &amp;hint</translation>
    </message>
    <message>
        <source>Show &amp;Clip Faces</source>
        <translation>Показать грани &amp;clip</translation>
    </message>
    <message>
        <source>Show &amp;Trigger Faces</source>
        <translation>Показать грани &amp;trigger</translation>
    </message>
    <message>
        <source>Show &amp;UV Grid</source>
        <translation>Показать &amp;UV-сетку</translation>
    </message>
    <message>
        <source>Hide &amp;Items</source>
        <translation>Скрыть &amp;предметы</translation>
    </message>
    <message>
        <source>Hide &amp;Paths</source>
        <translation>Скрыть &amp;пути</translation>
    </message>
    <message>
        <source>Hide &amp;Unknown Entities</source>
        <translation>Скрыть &amp;неизвестные сущности</translation>
    </message>
    <message>
        <source>Hide entities not described in Game Data Files</source>
        <translation>Скрыть сущности, которых нет в файлах игровых данных</translation>
    </message>
    <message>
        <source>Hide En&amp;tity Names</source>
        <translation>Скрыть &amp;имена сущностей</translation>
    </message>
    <message>
        <source>Hide C&amp;urves</source>
        <translation>Скрыть &amp;кривые</translation>
    </message>
    <message>
        <source>Hide &amp;Detail</source>
        <translation>Скрыть &amp;детали</translation>
    </message>
    <message>
        <source>&amp;View model...</source>
        <translation>&amp;Просмотр модели...</translation>
    </message>
    <message>
        <source>&amp;Reload model</source>
        <translation>П&amp;ерезагрузить модель</translation>
    </message>
    <message>
        <source>&amp;Group</source>
        <translation>С&amp;группировать</translation>
    </message>
    <message>
        <source>&amp;Ungroup</source>
        <translation>&amp;Разгруппировать</translation>
    </message>
    <message>
        <source>Toggle group ignore</source>
        <translation>Игнорировать группы</translation>
    </message>
    <message>
        <source>Make &amp;Detail</source>
        <translation>Сделать &amp;деталью</translation>
    </message>
    <message>
        <source>Make selected brushes detail (set CONTENTS_DETAIL flag)</source>
        <translation>Сделать выбранные браши деталями (флаг CONTENTS_DETAIL)</translation>
    </message>
    <message>
        <source>Make &amp;Structural</source>
        <translation>Сделать &amp;структурным</translation>
    </message>
    <message>
        <source>Make selected brushes structural (clear CONTENTS_DETAIL flag)</source>
        <translation>Сделать выбранные браши структурными (снять флаг CONTENTS_DETAIL)</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Connect entities</source>
        <translation>&amp;Связать сущности</translation>
    </message>
    <message>
        <source>Make second selected entity a target of the first selected entity</source>
        <translation>Сделать вторую выбранную сущность целью первой</translation>
    </message>
    <message>
        <source>Edit e&amp;ffects...</source>
        <translation>Редактировать &amp;эффекты...</translation>
    </message>
    <message>
        <source>Texture &amp;lock (move+rotate)</source>
        <translation>&amp;Фиксация текстуры (сдвиг и поворот)</translation>
    </message>
    <message>
        <source>Texture lock (&amp;scale)</source>
        <translation>Фиксация текстуры (&amp;масштаб)</translation>
    </message>
    <message>
        <source>Texture lock (&amp;UV coordinates)</source>
        <translation>Фиксация текстуры (&amp;UV-координаты)</translation>
    </message>
    <message>
        <source>Toggle texture alignment</source>
        <translation>Выравнивание текстур</translation>
    </message>
    <message>
        <source>Transfor&amp;m...</source>
        <translation>&amp;Преобразовать...</translation>
    </message>
    <message>
        <source>No &amp;morph restrictions</source>
        <translation>Без &amp;ограничений морфинга</translation>
    </message>
    <message>
        <source>Merge c&amp;oplanar faces</source>
        <translation>Объединять &amp;компланарные грани</translation>
    </message>
    <message>
        <source>To &amp;Left</source>
        <translation>В&amp;лево</translation>
    </message>
    <message>
        <source>To &amp;Right</source>
        <translation>В&amp;право</translation>
    </message>
    <message>
        <source>To &amp;Top</source>
        <translation>В&amp;верх</translation>
    </message>
    <message>
        <source>To &amp;Bottom</source>
        <translation>В&amp;низ</translation>
    </message>
    <message>
        <source>&amp;Horizontally</source>
        <translation>По &amp;горизонтали</translation>
    </message>
    <message>
        <source>&amp;Vertically</source>
        <translation>По &amp;вертикали</translation>
    </message>
    <message>
        <source>&amp;Anti-clockwise</source>
        <translation>Против &amp;часовой</translation>
    </message>
    <message>
        <source>&amp;Clockwise</source>
        <translation>По &amp;часовой</translation>
    </message>
    <message>
        <source>Toggle C&amp;ordon Tool</source>
        <translation>&amp;Кордон</translation>
    </message>
    <message>
        <source>Don't &amp;select curves</source>
        <translation>Не &amp;выбирать кривые</translation>
    </message>
    <message>
        <source>&amp;Messages</source>
        <translation>&amp;Сообщения</translation>
    </message>
    <message>
        <source>Web &amp;Resources</source>
        <translation>&amp;Ресурсы</translation>
    </message>
    <message>
        <source>Selection Tool</source>
        <translation>Выбор</translation>
    </message>
    <message>
        <source>Magnify</source>
        <translation>Лупа</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Камера</translation>
    </message>
    <message>
        <source>Entity Tool</source>
        <translation>Сущности</translation>
    </message>
    <message>
        <source>Entity Creation Tool</source>
        <translation>Создание сущностей</translation>
    </message>
    <message>
        <source>Block Tool</source>
        <translation>Блоки</translation>
    </message>
    <message>
        <source>Block Creation Tool</source>
        <translation>Создание блоков</translation>
    </message>
    <message>
        <source>Texture Application</source>
        <translation>Наложение текстур</translation>
    </message>
    <message>
        <source>Texture Application Mode</source>
        <translation>Режим наложения текстур</translation>
    </message>
    <message>
        <source>Apply Current Texture</source>
        <translation>Наложить текущую текстуру</translation>
    </message>
    <message>
        <source>Apply Current Texture to Selection</source>
        <translation>Наложить текущую текстуру на выбранное</translation>
    </message>
    <message>
        <source>Apply Decals</source>
        <translation>Декали</translation>
    </message>
    <message>
        <source>Clipping Tool</source>
        <translation>Отсечение</translation>
    </message>
    <message>
        <source>Vertex Tool</source>
        <translation>Вершины</translation>
    </message>
    <message>
        <source>Vertex Manipulation</source>
        <translation>Правка вершин</translation>
    </message>
    <message>
        <source>Path Tool</source>
        <translation>Пути</translation>
    </message>
    <message>
        <source>Mapf&amp;ile Bar</source>
        <translation>Панель &amp;файла</translation>
    </message>
    <message>
        <source>Mapv&amp;iew Bar</source>
        <translation>Панель &amp;вида</translation>
    </message>
    <message>
        <source>Map&amp;transform Bar</source>
        <translation>Панель &amp;преобразований</translation>
    </message>
    <message>
        <source>Mapo&amp;perations Bar</source>
        <translation>Панель &amp;операций</translation>
    </message>
    <message>
        <source>Map&amp;render Bar</source>
        <translation>Панель &amp;отрисовки</translation>
    </message>
    <message>
        <source>Map&amp;tools Bar</source>
        <translation>Панель &amp;инструментов</translation>
    </message>
    <message>
        <source>&amp;Object Bar</source>
        <translation>Панель &amp;объектов</translation>
    </message>
    <message>
        <source>Te&amp;xture Bar</source>
        <translation>Панель &amp;текстур</translation>
    </message>
    <message>
        <source>&amp;Filter Control</source>
        <translation>&amp;Фильтры</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Строка состояния</translation>
    </message>
    <message>
        <source>&amp;Custom...</source>
        <translation>&amp;Своя...</translation>
    </message>
    <message>
        <source>Open "%1" in web browser</source>
        <translation>Открыть «%1» в браузере</translation>
    </message>
    <message>
        <source>&amp;Read me</source>
        <translation>&amp;Прочти меня</translation>
    </message>
    <message>
        <source>&amp;Benchmarks</source>
        <translation>&amp;Замеры</translation>
    </message>
    <message>
        <source>&amp;Fuzzing notes</source>
        <translation>&amp;Фаззинг</translation>
    </message>
    <message>
        <source>&amp;Sample game</source>
        <translation>&amp;Пример игры</translation>
    </message>
    <message>
        <source>&amp;Plugins folder</source>
        <translation>Папка &amp;модулей</translation>
    </message>
    <message>
        <source>&amp;Translations folder</source>
        <translation>Папка &amp;переводов</translation>
    </message>
    <message>
        <source>Program &amp;folder</source>
        <translation>Папка &amp;программы</translation>
    </message>
</context>
<context>
    <name>QMenu</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>E&amp;dit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Карта</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Вид</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Инструменты</translation>
    </message>
    <message>
        <source>&amp;Curve</source>
        <translation>К&amp;ривые</translation>
    </message>
    <message>
        <source>Pl&amp;ugins</source>
        <translation>&amp;Модули</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <translation>&amp;Окно</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Active &amp;Layout</source>
        <translation>Активная &amp;раскладка</translation>
    </message>
    <message>
        <source>&amp;Transparency</source>
        <translation>&amp;Прозрачность</translation>
    </message>
    <message>
        <source>S&amp;how Elements</source>
        <translation>Показ &amp;элементов</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Align objects</source>
        <translation>&amp;Выровнять объекты</translation>
    </message>
    <message>
        <source>&amp;Flip objects</source>
        <translation>&amp;Отразить объекты</translation>
    </message>
    <message>
        <source>&amp;Rotate objects</source>
        <translation>П&amp;овернуть объекты</translation>
    </message>
    <message>
        <source>Screen &amp;Elements</source>
        <translation>&amp;Элементы экрана</translation>
    </message>
    <message>
        <source>&amp;Color Schemes</source>
        <translation>&amp;Цветовые схемы</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Язык</translation>
    </message>
    <message>
        <source>Web &amp;Resources</source>
        <translation>&amp;Ресурсы</translation>
    </message>
</context>
<context>
    <name>cMainWindow</name>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Отменить %1</translation>
    </message>
    <message>
        <source>Can't undo</source>
        <translation>Нечего отменять</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Повторить %1</translation>
    </message>
    <message>
        <source>Can't redo</source>
        <translation>Нечего повторять</translation>
    </message>
    <message>
        <source>Disabl&amp;e Undo/Redo</source>
        <translation>&amp;Выключить отмену</translation>
    </message>
    <message>
        <source>Enabl&amp;e Undo/Redo</source>
        <translation>&amp;Включить отмену</translation>
    </message>
    <message>
        <source>Snap: %1 Grid: %2</source>
        <translation>Привязка: %1 Сетка: %2</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Вкл</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Выкл</translation>
    </message>
    <message>
        <source>For Help, press F1</source>
        <translation>Для справки нажмите F1</translation>
    </message>
    <message>
        <source>Failed to read: %1
%2</source>
        <translation>Не удалось прочитать: %1
%2</translation>
    </message>
    <message>
        <source>The layout data is damaged or incomplete.</source>
        <translation>Данные раскладки повреждены или неполны.</translation>
    </message>
    <message>
        <source>You have the most recent version of %1 installed.</source>
        <translation>У вас установлена последняя версия %1.</translation>
    </message>
    <message>
        <source>More than one path selected!</source>
        <translation>Выбрано больше одного пути!</translation>
    </message>
    <message>
        <source>Create &amp;Object</source>
        <translation>Создать &amp;объект</translation>
    </message>
    <message>
        <source>Create %1</source>
        <translation>Создать %1</translation>
    </message>
    <message>
        <source>&amp;Tie to entity</source>
        <translation>&amp;Привязать к сущности</translation>
    </message>
    <message>
        <source>&amp;Tie to %1</source>
        <translation>&amp;Привязать к %1</translation>
    </message>
    <message>
        <source>Not a coordinate: &quot;%1&quot;</source>
        <translation>Не координата: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>There are no eligible selected patches.</source>
        <translation>Среди выделенного нет подходящих патчей.</translation>
    </message>
    <message>
        <source>You must select some objects before you can
transform them.</source>
        <translation>Чтобы преобразовать объекты,
сначала выделите их.</translation>
    </message>
    <message>
        <source>Command List</source>
        <translation>Список команд</translation>
    </message>
    <message>
        <source>Cannot paste %1 copies: the map has room for %2 more objects.</source>
        <translation>Нельзя вставить %1 копий: в карте есть место ещё для %2 объектов.</translation>
    </message>
</context>
<context>
    <name>QCustomAngleBox</name>
    <message>
        <source>Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Вниз</translation>
    </message>
    <message>
        <source>(diff)</source>
        <translation>(разные)</translation>
    </message>
</context>
<context>
    <name>cGotoBrushDialog</name>
    <message>
        <source>Go to brush</source>
        <translation>Перейти к брашу</translation>
    </message>
    <message>
        <source>&amp;Entity #:</source>
        <translation>&amp;Объект №:</translation>
    </message>
    <message>
        <source>&amp;Brush #:</source>
        <translation>&amp;Браш №:</translation>
    </message>
    <message>
        <source>Search &amp;visible brushes only</source>
        <translation>Искать только &amp;видимые браши</translation>
    </message>
</context>
<context>
    <name>cGotoCoordsDialog</name>
    <message>
        <source>Go to coordinates</source>
        <translation>Перейти к координатам</translation>
    </message>
    <message>
        <source>&amp;Coordinates to go to (x y z), ex: 200 -4096 1154</source>
        <translation>&amp;Координаты (x y z), напр.: 200 -4096 1154</translation>
    </message>
    <message>
        <source>0 0 0</source>
        <translation>0 0 0</translation>
    </message>
</context>
<context>
    <name>cTransformDialog</name>
    <message>
        <source>Transformation</source>
        <translation>Преобразование</translation>
    </message>
    <message>
        <source>Mode:</source>
        <translation>Режим:</translation>
    </message>
    <message>
        <source>&amp;Rotate</source>
        <translation>&amp;Повернуть</translation>
    </message>
    <message>
        <source>&amp;Scale</source>
        <translation>&amp;Масштаб</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>С&amp;двинуть</translation>
    </message>
    <message>
        <source>Values:</source>
        <translation>Значения:</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
</context>
<context>
    <name>cRandomPatchDialog</name>
    <message>
        <source>Randomize Matrix</source>
        <translation>Случайная матрица</translation>
    </message>
    <message>
        <source>Random Axes</source>
        <translation>Случайные оси</translation>
    </message>
    <message>
        <source>&amp;Fixed:</source>
        <translation>&amp;Заданные:</translation>
    </message>
    <message>
        <source>&amp;X</source>
        <translation>&amp;X</translation>
    </message>
    <message>
        <source>&amp;Y</source>
        <translation>&amp;Y</translation>
    </message>
    <message>
        <source>&amp;Z</source>
        <translation>&amp;Z</translation>
    </message>
    <message>
        <source>&amp;Normals</source>
        <translation>&amp;Нормали</translation>
    </message>
    <message>
        <source>Random Mode</source>
        <translation>Распределение</translation>
    </message>
    <message>
        <source>&amp;Gaussian</source>
        <translation>&amp;Гауссово</translation>
    </message>
    <message>
        <source>&amp;Uniform</source>
        <translation>&amp;Равномерное</translation>
    </message>
    <message>
        <source>Lock Control Points</source>
        <translation>Закрепить точки</translation>
    </message>
    <message>
        <source>Lock &amp;Exterior Points</source>
        <translation>Закрепить &amp;внешние точки</translation>
    </message>
    <message>
        <source>Lock &amp;Border Points</source>
        <translation>Закрепить &amp;края</translation>
    </message>
    <message>
        <source>Lock &amp;Interior Points</source>
        <translation>Закрепить в&amp;нутренние точки</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>&amp;Offset:</source>
        <translation>&amp;Смещение:</translation>
    </message>
    <message>
        <source>&amp;Round coordinates</source>
        <translation>&amp;Округлять координаты</translation>
    </message>
</context>
<context>
    <name>cScaleVertexDialog</name>
    <message>
        <source>Scale</source>
        <translation>Масштаб</translation>
    </message>
    <message>
        <source>&amp;Scale vertices:</source>
        <translation>&amp;Масштаб вершин:</translation>
    </message>
    <message>
        <source>Lock coordinates:</source>
        <translation>Закрепить координаты:</translation>
    </message>
    <message>
        <source>&amp;X</source>
        <translation>&amp;X</translation>
    </message>
    <message>
        <source>&amp;Y</source>
        <translation>&amp;Y</translation>
    </message>
    <message>
        <source>&amp;Z</source>
        <translation>&amp;Z</translation>
    </message>
</context>
<context>
    <name>cArchDialog</name>
    <message>
        <source>Arch Properties</source>
        <translation>Параметры арки</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Просмотр</translation>
    </message>
    <message>
        <source>Hide gri&amp;d</source>
        <translation>Скрыть се&amp;тку</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Wall &amp;width:</source>
        <translation>&amp;Толщина стены:</translation>
    </message>
    <message>
        <source>Number of &amp;sides:</source>
        <translation>Число &amp;сторон:</translation>
    </message>
    <message>
        <source>&amp;Arc:</source>
        <translation>&amp;Дуга:</translation>
    </message>
    <message>
        <source>S&amp;tart angle:</source>
        <translation>&amp;Начальный угол:</translation>
    </message>
    <message>
        <source>Add &amp;height:</source>
        <translation>Добавить &amp;высоту:</translation>
    </message>
    <message>
        <source>&amp;Circle</source>
        <translation>&amp;Круг</translation>
    </message>
    <message>
        <source>&amp;Group parts</source>
        <translation>&amp;Группировать части</translation>
    </message>
    <message>
        <source>&amp;Smooth slope</source>
        <translation>&amp;Плавный подъём</translation>
    </message>
    <message>
        <source>&amp;Triangulate</source>
        <translation>Т&amp;реугольники</translation>
    </message>
    <message>
        <source>&amp;Fit selection</source>
        <translation>&amp;Вписать в выделение</translation>
    </message>
</context>
<context>
    <name>cPasteSpecialDialog</name>
    <message>
        <source>Paste Special</source>
        <translation>Специальная вставка</translation>
    </message>
    <message>
        <source>Paste Options</source>
        <translation>Параметры вставки</translation>
    </message>
    <message>
        <source>&amp;Number of copies to paste:</source>
        <translation>&amp;Число копий:</translation>
    </message>
    <message>
        <source>Start at &amp;center of original</source>
        <translation>Начать от &amp;центра оригинала</translation>
    </message>
    <message>
        <source>&amp;Keep internal connections</source>
        <translation>&amp;Сохранять внутренние связи</translation>
    </message>
    <message>
        <source>&amp;Group copies</source>
        <translation>С&amp;группировать копии</translation>
    </message>
    <message>
        <source>Offset (accumulative):</source>
        <translation>Смещение (накопительное):</translation>
    </message>
    <message>
        <source>Rotation (accumulative):</source>
        <translation>Поворот (накопительный):</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
</context>
<context>
    <name>cDefaultRoomDialog</name>
    <message>
        <source>Default Room Properties</source>
        <translation>Свойства начальной комнаты</translation>
    </message>
    <message>
        <source>Room Size</source>
        <translation>Размер комнаты</translation>
    </message>
    <message>
        <source>Textures</source>
        <translation>Текстуры</translation>
    </message>
    <message>
        <source>&amp;X:</source>
        <translation>&amp;X:</translation>
    </message>
    <message>
        <source>&amp;Y:</source>
        <translation>&amp;Y:</translation>
    </message>
    <message>
        <source>&amp;Z:</source>
        <translation>&amp;Z:</translation>
    </message>
    <message>
        <source>&amp;Wall:</source>
        <translation>&amp;Стены:</translation>
    </message>
    <message>
        <source>&amp;Ceiling:</source>
        <translation>&amp;Потолок:</translation>
    </message>
    <message>
        <source>&amp;Floor:</source>
        <translation>П&amp;ол:</translation>
    </message>
    <message>
        <source>Apply NULL to backfaces</source>
        <translation>Наложить NULL на обратные грани</translation>
    </message>
    <message>
        <source>&amp;Don't show this dialog again</source>
        <translation>&amp;Больше не показывать это окно</translation>
    </message>
    <message>
        <source>You have chosen not to display the dialog later upon creation of a new map. To invoke it again, click the &quot;New&quot; button (or a corresponding menu item) holding the SHIFT key.</source>
        <translation>Вы решили больше не показывать это окно при создании новой карты. Чтобы вызвать его снова, нажмите кнопку &quot;Создать&quot; (или соответствующий пункт меню), удерживая клавишу SHIFT.</translation>
    </message>
</context>
<context>
    <name>LOCAL</name>
    <message>
        <source>English</source>
        <translation>Русский</translation>
    </message>
</context>
<context>
    <name>cObjectPropertiesDialog</name>
    <message>
        <source>Object Properties</source>
        <translation>Свойства объекта</translation>
    </message>
    <message>
        <source>&amp;Class Info</source>
        <translation>&amp;Класс</translation>
    </message>
    <message>
        <source>&amp;Flags</source>
        <translation>&amp;Флаги</translation>
    </message>
    <message>
        <source>&amp;VisGroup</source>
        <translation>&amp;Группы</translation>
    </message>
    <message>
        <source>No properties available</source>
        <translation>Нет доступных свойств</translation>
    </message>
    <message>
        <source>Class:</source>
        <translation>Класс:</translation>
    </message>
    <message>
        <source>&amp;SmartEdit</source>
        <translation>&amp;Умная правка</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>Attributes:</source>
        <translation>Атрибуты:</translation>
    </message>
    <message>
        <source>Keyvalues:</source>
        <translation>Ключи и значения:</translation>
    </message>
    <message>
        <source>&amp;Key:</source>
        <translation>&amp;Ключ:</translation>
    </message>
    <message>
        <source>&amp;Value:</source>
        <translation>&amp;Значение:</translation>
    </message>
    <message>
        <source>&amp;add</source>
        <translation>&amp;добавить</translation>
    </message>
    <message>
        <source>&amp;delete</source>
        <translation>&amp;удалить</translation>
    </message>
    <message>
        <source>c&amp;opy</source>
        <translation>&amp;копировать</translation>
    </message>
    <message>
        <source>pas&amp;te</source>
        <translation>&amp;вставить</translation>
    </message>
    <message>
        <source>Member of group:</source>
        <translation>Входит в группу:</translation>
    </message>
    <message>
        <source>&amp;Edit groups...</source>
        <translation>&amp;Изменить группы...</translation>
    </message>
    <message>
        <source>&amp;Pick color</source>
        <translation>&amp;Выбрать цвет</translation>
    </message>
    <message>
        <source>&amp;Play</source>
        <translation>&amp;Слушать</translation>
    </message>
    <message>
        <source>&amp;Yaw</source>
        <translation>&amp;Рыскание</translation>
    </message>
</context>
<context>
    <name>cNewKeyvalueDialog</name>
    <message>
        <source>New keyvalue</source>
        <translation>Новый ключ</translation>
    </message>
</context>
<context>
    <name>cMapCheckDialog</name>
    <message>
        <source>Check map for problems</source>
        <translation>Проверка карты на ошибки</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Ошибки</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Описание</translation>
    </message>
    <message>
        <source>&amp;Go to error</source>
        <translation>&amp;Перейти к ошибке</translation>
    </message>
    <message>
        <source>&amp;Fix</source>
        <translation>&amp;Исправить</translation>
    </message>
    <message>
        <source>Fix all (of &amp;type)</source>
        <translation>Исправить все (этого &amp;типа)</translation>
    </message>
    <message>
        <source>Fix &amp;all errors</source>
        <translation>Исправить &amp;все ошибки</translation>
    </message>
    <message>
        <source>Can't fix</source>
        <translation>Нельзя исправить</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Исправлено</translation>
    </message>
    <message>
        <source> [can't fix]</source>
        <translation> [нельзя исправить]</translation>
    </message>
    <message>
        <source> [fixed]</source>
        <translation> [исправлено]</translation>
    </message>
    <message>
        <source>There is no %1</source>
        <translation>Нет %1</translation>
    </message>
    <message>
        <source>Unmatched 'target' field ('%1')</source>
        <translation>Поле 'target' без пары ('%1')</translation>
    </message>
    <message>
        <source>Entity ('%1') contains duplicate keyvalues</source>
        <translation>Объект ('%1') содержит повторяющиеся ключи</translation>
    </message>
    <message>
        <source>Entity ('%1') contains double qoutes in keyvalues</source>
        <translation>Объект ('%1') содержит двойные кавычки в ключах</translation>
    </message>
    <message>
        <source>Bad 'targetname' field ('%1')</source>
        <translation>Неверное поле 'targetname' ('%1')</translation>
    </message>
    <message>
        <source>Invalid texture ('%1')</source>
        <translation>Неверная текстура ('%1')</translation>
    </message>
    <message>
        <source>Texture axis perpendicular to face</source>
        <translation>Ось текстуры перпендикулярна грани</translation>
    </message>
    <message>
        <source>Solid entity ('%1') is empty</source>
        <translation>Объект-тело ('%1') пуст</translation>
    </message>
    <message>
        <source>Solid with no faces</source>
        <translation>Тело без граней</translation>
    </message>
    <message>
        <source>Invalid solid structure (%1)</source>
        <translation>Неверная структура тела (%1)</translation>
    </message>
    <message>
        <source>Invalid solid contents</source>
        <translation>Неверное содержимое тела</translation>
    </message>
    <message>
        <source>There is no player start in the map. To add one, select the Entity Tool, drag the crosshairs to the position you want the player to start at, and press ENTER. Fixing the error creates a new player start entity at world's origin (0,0,0).</source>
        <translation>На карте нет точки старта игрока. Чтобы добавить её, выберите инструмент объектов, перетащите перекрестие туда, где игрок должен появиться, и нажмите ENTER. Исправление создаёт точку старта в начале координат (0,0,0).</translation>
    </message>
    <message>
        <source>This entity has a 'target' value that isn't matched by a 'targetname' value in another entity. To fix the problem, go to the entity, open Object Properties and select a proper target name from a drop-down combo.</source>
        <translation>Значение 'target' этого объекта не совпадает ни с одним значением 'targetname' других объектов. Чтобы исправить ошибку, перейдите к объекту, откройте свойства объекта и выберите нужное имя цели из списка.</translation>
    </message>
    <message>
        <source>The entity contains duplicate keyvalues. Fixing the error removes the duplicates.</source>
        <translation>Объект содержит повторяющиеся ключи. Исправление удаляет повторы.</translation>
    </message>
    <message>
        <source>The entity contains double quotes (") in its keyvalues. This will probably cause errors when parsing text format such as *.map, by the editor or compile tools. Fixing the error replaces forbidden double quotes with single quotes (').</source>
        <translation>Объект содержит двойные кавычки (") в ключах. Это, вероятно, вызовет ошибки при чтении текстовых форматов, таких как *.map, редактором или компиляторами. Исправление заменяет запрещённые двойные кавычки одинарными (').</translation>
    </message>
    <message>
        <source>This entity has a 'targetname' value that contains starting character reserved as "use prefix". Fixing the error removes the characters that could be referred to as such prefixes.</source>
        <translation>Значение 'targetname' этого объекта начинается с символа, зарезервированного как "префикс использования". Исправление удаляет символы, которые могут считаться такими префиксами.</translation>
    </message>
    <message>
        <source>The solid is using an invalid (missing) texture. This error usually occurs when some texture packages used on the map were not added to the current game configuration. Fixing the error replaces the texture with currently selected texture (but only with a valid one).</source>
        <translation>Тело использует неверную (отсутствующую) текстуру. Обычно так бывает, когда пакеты текстур карты не добавлены в текущую игровую конфигурацию. Исправление заменяет текстуру текущей выбранной (только если она верна).</translation>
    </message>
    <message>
        <source>The face has a texture axis that is perpendicular to the face, probably caused by rotating an object with texture locking disabled. This could also indicate an invalid face caused by vertex manipulation.</source>
        <translation>Ось текстуры грани перпендикулярна грани; вероятно, объект поворачивали с выключенной фиксацией текстур. Это также может означать неверную грань после правки вершин.</translation>
    </message>
    <message>
        <source>This solid entity contains no solids. Fixing the error deletes the entity.</source>
        <translation>Этот объект-тело не содержит тел. Исправление удаляет объект.</translation>
    </message>
    <message>
        <source>This solid contains no faces. Fixing the error deletes the solid.</source>
        <translation>Это тело не содержит граней. Исправление удаляет тело.</translation>
    </message>
    <message>
        <source>The solid has invalid structure, probably as a result of vertex manipulation.</source>
        <translation>Тело имеет неверную структуру, вероятно, после правки вершин.</translation>
    </message>
    <message>
        <source>The faces in the solid have different content types, which may result in 'Mixed face contents' compiler error. Fixing the error assigns the contents of the first face to all faces of the solid.</source>
        <translation>Грани тела имеют разное содержимое, что может вызвать ошибку компилятора 'Mixed face contents'. Исправление даёт всем граням тела содержимое первой грани.</translation>
    </message>
    <message>
        <source>bad face count</source>
        <translation>неверное число граней</translation>
    </message>
    <message>
        <source>face with %1 vertices</source>
        <translation>грань с %1 вершинами</translation>
    </message>
    <message>
        <source>point off the face plane</source>
        <translation>точка вне плоскости грани</translation>
    </message>
    <message>
        <source>tiny edge</source>
        <translation>крошечное ребро</translation>
    </message>
    <message>
        <source>face is not planar</source>
        <translation>грань не плоская</translation>
    </message>
    <message>
        <source>brush has coplanar planes</source>
        <translation>у тела есть совпадающие плоскости</translation>
    </message>
    <message>
        <source>brush is not convex</source>
        <translation>тело не выпуклое</translation>
    </message>
</context>
<context>
    <name>cMapInfoDialog</name>
    <message>
        <source>Map Information</source>
        <translation>Сведения о карте</translation>
    </message>
    <message>
        <source>Solids:</source>
        <translation>Тела:</translation>
    </message>
    <message>
        <source>Faces:</source>
        <translation>Грани:</translation>
    </message>
    <message>
        <source>Point Entities:</source>
        <translation>Точечные объекты:</translation>
    </message>
    <message>
        <source>Solid Entities:</source>
        <translation>Объекты-тела:</translation>
    </message>
    <message>
        <source>Unique Textures:</source>
        <translation>Разные текстуры:</translation>
    </message>
    <message>
        <source>Texture Memory:</source>
        <translation>Память текстур:</translation>
    </message>
    <message>
        <source>Texture files used:</source>
        <translation>Используемые файлы текстур:</translation>
    </message>
    <message>
        <source>%1 bytes (%2 Mb)</source>
        <translation>%1 байт (%2 Мб)</translation>
    </message>
</context>
<context>
    <name>cMainWindow</name>
    <message>
        <source>No errors were found.</source>
        <translation>Ошибок не найдено.</translation>
    </message>
</context>
<context>
    <name>cTextureBrowserDialog</name>
    <message>
        <source>Textures</source>
        <translation>Текстуры</translation>
    </message>
    <message>
        <source>&amp;Size:</source>
        <translation>&amp;Размер:</translation>
    </message>
    <message>
        <source>Only &amp;used textures</source>
        <translation>Только &amp;используемые</translation>
    </message>
    <message>
        <source>&amp;Filter:</source>
        <translation>&amp;Фильтр:</translation>
    </message>
    <message>
        <source>&amp;Mark</source>
        <translation>&amp;Отметить</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Заменить...</translation>
    </message>
    <message>
        <source>&amp;Animate textures</source>
        <translation>&amp;Анимировать текстуры</translation>
    </message>
    <message>
        <source>Group: &quot;%1&quot;</source>
        <translation>Группа: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 objects marked.</source>
        <translation>Отмечено объектов: %1.</translation>
    </message>
    <message>
        <source>No objects marked.</source>
        <translation>Ни один объект не отмечен.</translation>
    </message>
</context>
<context>
    <name>cShaderEditCanvas</name>
    <message>
        <source>%1 tris</source>
        <translation>%1 треуг.</translation>
    </message>
</context>
<context>
    <name>cShaderEditDialog</name>
    <message>
        <source>Packages</source>
        <translation>Пакеты</translation>
    </message>
    <message>
        <source>Textures</source>
        <translation>Текстуры</translation>
    </message>
    <message>
        <source>Effect &quot;%1&quot; is not defined
in the selected package:

%2</source>
        <translation>Эффект &quot;%1&quot; не определён
в выбранном пакете:

%2</translation>
    </message>
    <message>
        <source>Couldn&apos;t create effect &quot;%1&quot; from image:

%2</source>
        <translation>Не удалось создать эффект &quot;%1&quot; из изображения:

%2</translation>
    </message>
    <message>
        <source>Effect for image already exists:

%1</source>
        <translation>Эффект для изображения уже существует:

%1</translation>
    </message>
    <message>
        <source>Failed to create effect for image outside the &quot;textures&quot; directory:

%2</source>
        <translation>Нельзя создать эффект для изображения вне папки &quot;textures&quot;:

%2</translation>
    </message>
    <message>
        <source>Failed to create effect for image:

%1</source>
        <translation>Не удалось создать эффект для изображения:

%1</translation>
    </message>
</context>
<context>
    <name>cEntityReportDialog</name>
    <message>
        <source>Entity Report</source>
        <translation>Отчёт по объектам</translation>
    </message>
    <message>
        <source>Entities</source>
        <translation>Объекты</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Фильтр</translation>
    </message>
    <message>
        <source>&amp;Everything</source>
        <translation>&amp;Все</translation>
    </message>
    <message>
        <source>&amp;Brush entities</source>
        <translation>&amp;Брашевые объекты</translation>
    </message>
    <message>
        <source>&amp;Point entities</source>
        <translation>&amp;Точечные объекты</translation>
    </message>
    <message>
        <source>Include &amp;hidden objects</source>
        <translation>Включая &amp;скрытые объекты</translation>
    </message>
    <message>
        <source>By &amp;key/value:</source>
        <translation>По &amp;ключу/значению:</translation>
    </message>
    <message>
        <source>&amp;Exact</source>
        <translation>&amp;Точно</translation>
    </message>
    <message>
        <source>By &amp;class:</source>
        <translation>По &amp;классу:</translation>
    </message>
    <message>
        <source>=</source>
        <translation>=</translation>
    </message>
    <message>
        <source>&amp;Mark</source>
        <translation>&amp;Отметить</translation>
    </message>
    <message>
        <source>&amp;Go to</source>
        <translation>&amp;Перейти</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Удалить</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Свойства...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Скрыть</translation>
    </message>
    <message>
        <source>&amp;Unhide</source>
        <translation>&amp;Показать</translation>
    </message>
    <message>
        <source>Class</source>
        <translation>Класс</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Цель</translation>
    </message>
    <message>
        <source>Are you sure to delete %1?</source>
        <translation>Удалить %1?</translation>
    </message>
    <message>
        <source>Are you sure to delete %1 entities?</source>
        <translation>Удалить объекты (%1)?</translation>
    </message>
</context>
<context>
    <name>cEntityListDialog</name>
    <message>
        <source>Select the Destination</source>
        <translation>Выбор назначения</translation>
    </message>
    <message>
        <source>Multiple entities are selected - please pick the one you want to keep:</source>
        <translation>Выделено несколько объектов - выберите тот, который нужно оставить:</translation>
    </message>
</context>
<context>
    <name>cEntityHelpDialog</name>
    <message>
        <source>Entity Help</source>
        <translation>Справка по объекту</translation>
    </message>
</context>
<context>
    <name>cEditGroupsDialog</name>
    <message>
        <source>Object Groups</source>
        <translation>Группы объектов</translation>
    </message>
    <message>
        <source>Groups</source>
        <translation>Группы</translation>
    </message>
    <message>
        <source>Selected Group</source>
        <translation>Выбранная группа</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Имя:</translation>
    </message>
    <message>
        <source>&amp;Color...</source>
        <translation>&amp;Цвет...</translation>
    </message>
    <message>
        <source>&amp;New Group</source>
        <translation>&amp;Новая группа</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Удалить</translation>
    </message>
    <message>
        <source>Are you sure to remove visgroup </source>
        <translation>Удалить группу </translation>
    </message>
    <message>
        <source> containing %1 objects?</source>
        <translation> с объектами (%1)?</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Выбор цвета</translation>
    </message>
</context>
<context>
    <name>cPathDialog</name>
    <message>
        <source>Path Properties</source>
        <translation>Свойства пути</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Общие</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Имя:</translation>
    </message>
    <message>
        <source>&amp;Class:</source>
        <translation>&amp;Класс:</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Направление</translation>
    </message>
    <message>
        <source>&amp;One way</source>
        <translation>&amp;В одну сторону</translation>
    </message>
    <message>
        <source>Ci&amp;rcular</source>
        <translation>По к&amp;ругу</translation>
    </message>
    <message>
        <source>&amp;Ping-pong</source>
        <translation>&amp;Туда и обратно</translation>
    </message>
    <message>
        <source>Path name is not unique: &quot;%1&quot;!
Please specify another path name.</source>
        <translation>Имя пути не уникально: &quot;%1&quot;!
Укажите другое имя пути.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds characters a map cannot store.</source>
        <translation>&quot;%1&quot; содержит символы, которые карта не может хранить.</translation>
    </message>
</context>
<context>
    <name>cPathNodeDialog</name>
    <message>
        <source>Edit Path Node</source>
        <translation>Свойства узла пути</translation>
    </message>
    <message>
        <source>&amp;Name Override:</source>
        <translation>&amp;Своё имя:</translation>
    </message>
    <message>
        <source>&amp;Fire On Pass:</source>
        <translation>&amp;Цель при проходе:</translation>
    </message>
    <message>
        <source>Wait for &amp;Retrigger</source>
        <translation>&amp;Ждать повторного запуска</translation>
    </message>
    <message>
        <source>&amp;Yaw</source>
        <translation>&amp;Рыскание</translation>
    </message>
    <message>
        <source>&amp;Angles:</source>
        <translation>&amp;Углы:</translation>
    </message>
    <message>
        <source>&amp;Speed:</source>
        <translation>С&amp;корость:</translation>
    </message>
    <message>
        <source>Ya&amp;w speed:</source>
        <translation>Скорость &amp;поворота:</translation>
    </message>
    <message>
        <source>&amp;Wait:</source>
        <translation>&amp;Ожидание:</translation>
    </message>
    <message>
        <source>&amp;FOV:</source>
        <translation>&amp;Поле зрения:</translation>
    </message>
    <message>
        <source>A&amp;uto</source>
        <translation>&amp;Авто</translation>
    </message>
    <message>
        <source>Ca&amp;mera</source>
        <translation>&amp;Камера</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Вверх</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Вниз</translation>
    </message>
    <message>
        <source>(diff)</source>
        <translation>(разные)</translation>
    </message>
    <message>
        <source>(no change)</source>
        <translation>(без изменений)</translation>
    </message>
    <message>
        <source>(auto)</source>
        <translation>(авто)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number.</source>
        <translation>&quot;%1&quot; не число.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds characters a map cannot store.</source>
        <translation>&quot;%1&quot; содержит символы, которые карта не может хранить.</translation>
    </message>
</context>
<context>
    <name>TextureLists</name>
    <message>
        <source>&amp;All Textures</source>
        <translation>&amp;Все текстуры</translation>
    </message>
    <message>
        <source>&amp;Miscellaneous</source>
        <translation>&amp;Разное</translation>
    </message>
    <message>
        <source>Mi&amp;ssing Textures</source>
        <translation>&amp;Отсутствующие текстуры</translation>
    </message>
    <message>
        <source>Editor image</source>
        <translation>Изображение редактора</translation>
    </message>
    <message>
        <source>Lightmap</source>
        <translation>Карта освещения</translation>
    </message>
    <message>
        <source>Stage %1 map</source>
        <translation>Стадия %1: карта</translation>
    </message>
    <message>
        <source>Stage %1 animation</source>
        <translation>Стадия %1: анимация</translation>
    </message>
    <message>
        <source>Frame %1</source>
        <translation>Кадр %1</translation>
    </message>
</context>
<context>
    <name>cMainWindow</name>
    <message>
        <source>Textures</source>
        <translation>Текстуры</translation>
    </message>
    <message>
        <source>Texture &amp;Group:</source>
        <translation>&amp;Группа текстур:</translation>
    </message>
    <message>
        <source>Current &amp;Texture:</source>
        <translation>Текущая &amp;текстура:</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Обзор...</translation>
    </message>
    <message>
        <source>&amp;Replace...</source>
        <translation>&amp;Заменить...</translation>
    </message>
    <message>
        <source>%1 x %2</source>
        <translation>%1 x %2</translation>
    </message>
</context>
<context>
    <name>cMainWindow</name>
    <message>
        <source>All supported formats</source>
        <translation>Все поддерживаемые форматы</translation>
    </message>
    <message>
        <source>Load default pointfile?
(%1)</source>
        <translation>Загрузить файл точек по умолчанию?
(%1)</translation>
    </message>
    <message>
        <source>Load default portal file?
(%1)</source>
        <translation>Загрузить файл порталов по умолчанию?
(%1)</translation>
    </message>
    <message>
        <source>Pointfiles (*.lin *.pts)</source>
        <translation>Файлы точек (*.lin *.pts)</translation>
    </message>
    <message>
        <source>Portal files (*.prt)</source>
        <translation>Файлы порталов (*.prt)</translation>
    </message>
    <message>
        <source>Hull files (*.p0 *.p1 *.p2 *.p3)</source>
        <translation>Файлы оболочек (*.p0 *.p1 *.p2 *.p3)</translation>
    </message>
    <message>
        <source>Connect %1 to %2?</source>
        <translation>Соединить %1 с %2?</translation>
    </message>
    <message>
        <source>You must have exactly two entities selected!
Please select source entity first, and then its target.</source>
        <translation>Должно быть выделено ровно две сущности!
Сначала выделите исходную сущность, затем её цель.</translation>
    </message>
    <message>
        <source>Texture locking %1</source>
        <translation>Привязка текстур: %1</translation>
    </message>
    <message>
        <source>Texture locking (scale) %1</source>
        <translation>Привязка текстур (масштаб): %1</translation>
    </message>
    <message>
        <source>UV locking %1</source>
        <translation>Привязка UV: %1</translation>
    </message>
    <message>
        <source>Vertex manipulation restrictions %1</source>
        <translation>Ограничения правки вершин: %1</translation>
    </message>
    <message>
        <source>Vertex manipulation coplanar face merging %1</source>
        <translation>Слияние компланарных граней при правке вершин: %1</translation>
    </message>
</context>
<context>
    <name>cTextureFitDialog</name>
    <message>
        <source>Fit Texture</source>
        <translation>Подгонка текстуры</translation>
    </message>
    <message>
        <source>Repeat Texture</source>
        <translation>Повторить текстуру</translation>
    </message>
    <message>
        <source>&amp;Horizontally:</source>
        <translation>По &amp;горизонтали:</translation>
    </message>
    <message>
        <source>&amp;Vertically:</source>
        <translation>По &amp;вертикали:</translation>
    </message>
    <message>
        <source>&amp;Don&apos;t show this dialog again</source>
        <translation>&amp;Больше не показывать этот диалог</translation>
    </message>
    <message>
        <source>You have chosen not to display the dialog later on clicking a &quot;Fit&quot; button.
To invoke it again, click the &quot;Fit&quot; button holding the SHIFT key.</source>
        <translation>Вы решили не показывать этот диалог при нажатии кнопки &quot;Fit&quot;.
Чтобы вызвать его снова, нажмите кнопку &quot;Fit&quot;, удерживая клавишу SHIFT.</translation>
    </message>
</context>
<context>
    <name>cTextureReplaceDialog</name>
    <message>
        <source>Replace Textures</source>
        <translation>Замена текстур</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Найти</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Заменить</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Replace in</source>
        <translation>Где заменять</translation>
    </message>
    <message>
        <source>&amp;Marked Objects</source>
        <translation>&amp;Отмеченные объекты</translation>
    </message>
    <message>
        <source>&amp;Everything</source>
        <translation>&amp;Везде</translation>
    </message>
    <message>
        <source>&amp;Hidden objects too</source>
        <translation>И &amp;скрытые объекты</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Действие</translation>
    </message>
    <message>
        <source>Replace E&amp;xact Matches</source>
        <translation>Заменять &amp;точные совпадения</translation>
    </message>
    <message>
        <source>Replace &amp;Partial Matches</source>
        <translation>Заменять &amp;частичные совпадения</translation>
    </message>
    <message>
        <source>&amp;Substitute Partial Matches</source>
        <translation>&amp;Подставлять в частичные совпадения</translation>
    </message>
    <message>
        <source>Do not replace textures (&amp;mark found solids)</source>
        <translation>Не заменять текстуры (&amp;отметить найденные тела)</translation>
    </message>
    <message>
        <source>Modify texture scale by &amp;factor:</source>
        <translation>Изменить масштаб текстуры в &amp;число раз:</translation>
    </message>
    <message>
        <source>No objects marked.</source>
        <translation>Не отмечено ни одного объекта.</translation>
    </message>
    <message>
        <source>%1 objects marked.</source>
        <translation>Отмечено объектов: %1.</translation>
    </message>
    <message>
        <source>No textures replaced.</source>
        <translation>Не заменено ни одной текстуры.</translation>
    </message>
    <message>
        <source>%1 textures replaced.</source>
        <translation>Заменено текстур: %1.</translation>
    </message>
</context>
</TS>
