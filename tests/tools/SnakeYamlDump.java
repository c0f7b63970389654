// Loads YAML files with SnakeYAML's default loader and prints, for each, one
// line "OK <json>" with what it loaded, or "ERROR <json string>" with why it
// could not. The JSON keeps the types a reader sees: {"text": ...},
// {"int": ...}, {"float": ...}, {"flag": ...}, {"null": true}, lists, and
// {"map": [[key, value], ...]}, so the checker compares exact values. Output
// is ASCII only: every other character is written as a \\u escape.
//
// Run without a build step, once for all files:
//   java -cp /usr/share/java/snakeyaml.jar SnakeYamlDump.java FILE...
// With no FILE arguments the file names are read from standard input, one a line.

import java.io.BufferedReader;
import java.io.FileInputStream;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.io.PrintStream;
import java.math.BigInteger;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

import org.yaml.snakeyaml.Yaml;

public class SnakeYamlDump {
    public static void main(String[] args) throws Exception {
        List<String> files = new ArrayList<>(List.of(args));
        if (files.isEmpty()) {
            BufferedReader in = new BufferedReader(new InputStreamReader(System.in, StandardCharsets.UTF_8));
            for (String line = in.readLine(); line != null; line = in.readLine()) {
                if (!line.isEmpty())
                    files.add(line);
            }
        }
        PrintStream out = new PrintStream(System.out, false, StandardCharsets.US_ASCII);
        for (String file : files) {
            String line;
            try (InputStream stream = new FileInputStream(file)) {
                Object loaded = new Yaml().load(stream);
                StringBuilder json = new StringBuilder();
                dump(loaded, json);
                line = "OK " + json;
            } catch (Exception | StackOverflowError e) {
                StringBuilder json = new StringBuilder();
                string(e.getClass().getSimpleName() + ": " + e.getMessage(), json);
                line = "ERROR " + json;
            }
            out.println(line);
        }
        out.flush();
    }

    static void dump(Object value, StringBuilder json) {
        if (value == null) {
            json.append("{\"null\": true}");
        } else if (value instanceof String) {
            json.append("{\"text\": ");
            string((String) value, json);
            json.append('}');
        } else if (value instanceof Boolean) {
            json.append("{\"flag\": ").append(value).append('}');
        } else if (value instanceof Integer || value instanceof Long || value instanceof BigInteger) {
            json.append("{\"int\": \"").append(value).append("\"}");
        } else if (value instanceof Double || value instanceof Float) {
            json.append("{\"float\": \"").append(value).append("\"}");
        } else if (value instanceof List) {
            json.append('[');
            boolean first = true;
            for (Object item : (List<?>) value) {
                if (!first)
                    json.append(", ");
                first = false;
                dump(item, json);
            }
            json.append(']');
        } else if (value instanceof Map) {
            json.append("{\"map\": [");
            boolean first = true;
            for (Map.Entry<?, ?> entry : ((Map<?, ?>) value).entrySet()) {
                if (!first)
                    json.append(", ");
                first = false;
                json.append('[');
                dump(entry.getKey(), json);
                json.append(", ");
                dump(entry.getValue(), json);
                json.append(']');
            }
            json.append("]}");
        } else {
            json.append("{\"other\": ");
            string(value.getClass().getName() + " " + value, json);
            json.append('}');
        }
    }

    static void string(String text, StringBuilder json) {
        json.append('"');
        for (int i = 0; i < text.length(); ++i) {
            char c = text.charAt(i);
            if (c == '"' || c == '\\')
                json.append('\\').append(c);
            else if (c < 0x20 || c > 0x7E)
                json.append(String.format("\\u%04x", (int) c));
            else
                json.append(c);
        }
        json.append('"');
    }
}
